// An output file that appears only when it is complete: written under a temporary name beside the
// target and renamed over it on commit, so a failed or interrupted run leaves the target as it was.
#pragma once

#include <memory>
#include <string>

namespace qvhost {

class PendingFile {
 public:
  // Creates the temporary file, so an output that cannot be written is found before any work is
  // done. A symbolic link as target is followed: the file it points to is replaced.
  static std::unique_ptr<PendingFile> create(const std::string& target, std::string* error);
  ~PendingFile();
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  // Where the content is written until commit.
  const std::string& path() const { return mTemp; }
  bool commit(std::string* error);
  // A message about the temporary file, naming the target instead.
  std::string explain(std::string message) const;

  // For programs: an interrupt, hang-up or termination also removes the temporary files of the
  // pending files alive at that moment.
  static void removeOnSignals();

 private:
  PendingFile() = default;

  std::string mTarget;
  std::string mTemp;
  int mSlot = -1;  // in the table the signal handler reads
  bool mCommitted = false;
};

}  // namespace qvhost
