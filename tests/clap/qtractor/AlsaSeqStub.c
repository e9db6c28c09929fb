// A stand-in for the ALSA sequencer calls a DAW's engine makes, preloaded where the kernel has no
// /dev/snd/seq: the client opens, ports and queues are made, the poll descriptor never fires and
// no MIDI comes or goes. Everything else of the sound library stays the real one.
#include <errno.h>
#include <stdlib.h>
#include <string.h>
#include <poll.h>
#include <unistd.h>
typedef struct { int fds[2]; int nextPort; } seq_t;
int snd_seq_open(void **h, const char *n, int s, int m) { seq_t *q = calloc(1, sizeof *q); if (pipe(q->fds)) return -EIO; *h = q; return 0; }
int snd_seq_close(void *h) { seq_t *q = h; close(q->fds[0]); close(q->fds[1]); free(q); return 0; }
int snd_seq_client_id(void *h) { return 128; }
int snd_seq_set_client_name(void *h, const char *n) { return 0; }
int snd_seq_create_simple_port(void *h, const char *n, unsigned c, unsigned t) { return ((seq_t *)h)->nextPort++; }
int snd_seq_delete_simple_port(void *h, int p) { return 0; }
int snd_seq_alloc_queue(void *h) { return 0; }
int snd_seq_free_queue(void *h, int q) { return 0; }
int snd_seq_control_queue(void *h, int q, int t, int v, void *e) { return 0; }
int snd_seq_set_queue_tempo(void *h, int q, void *t) { return 0; }
int snd_seq_get_queue_tempo(void *h, int q, void *t) { return 0; }
int snd_seq_get_queue_status(void *h, int q, void *s) { return 0; }
int snd_seq_set_queue_timer(void *h, int q, void *t) { return 0; }
int snd_seq_poll_descriptors_count(void *h, short e) { return 1; }
int snd_seq_poll_descriptors(void *h, struct pollfd *p, unsigned n, short e) { if (!n) return 0; p[0].fd = ((seq_t *)h)->fds[0]; p[0].events = POLLIN; p[0].revents = 0; return 1; }
int snd_seq_event_input(void *h, void **ev) { return -EAGAIN; }
int snd_seq_event_input_pending(void *h, int f) { return 0; }
int snd_seq_event_output(void *h, void *ev) { return 0; }
int snd_seq_event_output_direct(void *h, void *ev) { return 0; }
int snd_seq_drain_output(void *h) { return 0; }
int snd_seq_drop_input(void *h) { return 0; }
int snd_seq_drop_output(void *h) { return 0; }
int snd_seq_query_next_client(void *h, void *i) { return -ENOENT; }
int snd_seq_query_next_port(void *h, void *i) { return -ENOENT; }
int snd_seq_get_any_client_info(void *h, int c, void *i) { return -ENOENT; }
int snd_seq_get_any_port_info(void *h, int c, int p, void *i) { return -ENOENT; }
int snd_seq_get_port_info(void *h, int p, void *i) { return 0; }
int snd_seq_set_port_info(void *h, int p, void *i) { return 0; }
int snd_seq_subscribe_port(void *h, void *s) { return 0; }
int snd_seq_unsubscribe_port(void *h, void *s) { return 0; }
int snd_seq_query_port_subscribers(void *h, void *s) { return -ENOENT; }
int snd_seq_remove_events(void *h, void *r) { return 0; }
