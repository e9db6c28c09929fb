#!/usr/bin/python3
"""Fits the continuous-time prototype of the transient tilt shaper and writes its coefficient terms.

Run from the repository root with Debian's python3-numpy and python3-scipy:

    /usr/bin/python3 tools/tiltfit/tiltfit.py src/plugin/dsp/TiltCoefficients.h

The fit starts from a fixed point and uses no random numbers, so a run reproduces the committed header.
The achieved errors are printed on stderr.

Prototype (s in rad/s divided by W0 = 2*pi*1000):

    H(s) = s1 * (s4 / S4) * s^2 (n2 + n3 s + n4 s^2 + n5 s^3) / (F(s) V(s))

    F(s)  fixed stable cubic (s^2 + a s + b)(s + c), a, b, c > 0.
    V(s)  e2 s^2 + e1 s + e0 with every e = p(s3) + s2 q(s3), p and q quadratic. The e are kept positive
          over the whole control range (s2 in 0..1.25, s3 in 0..taper(1.25)), which makes V, and so the
          filter, stable for every setting the smoothed controls can reach.
    n_k   multilinear in s2 and s3.
    s4/S4 control 4 is a second output level (reverse-log taper), unity at the plug-in's fixed 0.25.

The bilinear transform s = (2 fs / W0)(1 - 1/z)/(1 + 1/z) turns every coefficient into a sum of control
products times polynomials in fs; those polynomials are the generated terms. The numerator's double zero
at DC lets the terms absorb the filter's fixed output scale of 0.2 fs^2 (0.1 fs^2 times the input's 2).

Fitted to the magnitude table at 44.1 kHz (90 cells, the 96 kHz response weighted in too), the first
impulse-response samples, and smoothness between the tabulated tilt settings, under a precision bound:
the plug-in runs the filter as one fifth-order direct-form recursion in double precision, and at high
sample rates its coefficients must still resolve the poles and zeros near DC (see CONDITION_LIMIT).
That bound, not the order of the prototype, is what limits how closely the table is met.
"""
import sys
from fractions import Fraction

import numpy as np
from scipy.optimize import least_squares

E = np.e
W0 = 2 * np.pi * 1000.0


def taper_log(c):
    return (np.exp(c) - 1) / (E - 1)


S1 = taper_log(0.55)                       # control 1 at the plug-in's fixed 0.55
S4 = (np.exp(1 - 0.25) - 1) / (E - 1)     # control 4 at the plug-in's fixed 0.25
S3MAX = taper_log(1.25)

FREQS = np.array([10, 20, 30, 50, 70, 100, 150, 200, 300, 500, 700, 1000, 1500, 2000, 3000, 5000, 10000,
                  20000], float)
TILTS = np.array([0.25, 0.5, 0.75, 1.0, 1.25])
TABLE = np.array([  # dB, one row per frequency, one column per tilt
    [-5.34, -6.75, -9.26, -14.79, -25.14],
    [0.42, -1.08, -3.67, -9.21, -17.63],
    [2.64, 1.08, -1.57, -7.05, -13.52],
    [4.26, 2.61, -0.08, -5.23, -8.69],
    [4.75, 3.07, 0.39, -4.27, -5.68],
    [4.90, 3.21, 0.62, -3.16, -2.66],
    [4.67, 2.99, 0.64, -1.62, 0.51],
    [4.20, 2.55, 0.54, -0.39, 2.53],
    [2.93, 1.43, 0.28, 1.30, 4.89],
    [0.07, -0.83, -0.07, 2.90, 6.86],
    [-2.54, -2.52, -0.20, 3.53, 7.61],
    [-5.62, -4.01, -0.26, 3.92, 8.06],
    [-8.93, -5.09, -0.28, 4.15, 8.32],
    [-10.88, -5.52, -0.28, 4.23, 8.42],
    [-12.86, -5.85, -0.28, 4.29, 8.49],
    [-14.24, -6.01, -0.28, 4.32, 8.53],
    [-14.94, -6.09, -0.28, 4.33, 8.54],
    [-15.11, -6.10, -0.28, 4.34, 8.54]]).T   # -> [tilt, freq]
FIRST_SAMPLE = np.array([0.2051, 0.5147, 0.9683, 1.619, 2.601])

# The direct-form recursion loses precision as poles and zeros crowd toward z = 1 at high sample rates.
# The rounding error of a digital polynomial, relative to its value at a low frequency, grows with the
# sum of the magnitudes of all the products that are added up to form its coefficients, divided by
# that value. At 96 kHz this ratio is held below 10^CONDITION_LIMIT at 10 Hz for both polynomials
# (keeping the 96 kHz response within about 0.1 dB of the prototype) and at DC for the denominator
# (keeping the poles clear of the unit circle at 192 kHz).
CONDITION_RATE = 96000.0
LOWEST_POLE = 4.0 / 1000.0  # normalised; a slower pole would sit within rounding reach of z = 1
CONDITION_LIMIT = 14.25
SMOOTH_WEIGHT = 15.0  # on second differences of the dB response along the tilt

# Starting point: log(a), log(b), log(c); V's forms without e2's constant (fixed at 1); the numerator.
START = [-1.05099118, -6.14518377, -3.66067886, 0.00300747859, -0.000739766385, 0.0245433467,
         0.477855607, -1.16947752, 0.740524238, 0.489532923, 0.218887838, 5.98128074, 7.770905,
         -8.2466413, -0.556774723, -1.58378869, 0.696653803, 8.26072497, -0.693060945, -0.417987125,
         0.0770316752, 3.789696, -6.05705869, 2.15383627, 1.1250098, 31.2506861, -33.5797031,
         3.43133694, 0.778299786, -43.1890185, 91.45214, -24.5853293, 0.131214562, -0.656081711,
         5.17123625e-08, 28.6280385]


def den_basis(s2, s3):
    return np.stack([np.ones_like(s3), s3, s3 * s3, s2, s2 * s3, s2 * s3 * s3], -1)


def num_basis(s2, s3):
    return np.stack([np.ones_like(s3), s2, s3, s2 * s3], -1)


def unpack(p):
    abc = np.exp(p[:3])
    fixed = np.polymul([1, abc[0], abc[1]], [1, abc[2]])[::-1]        # ascending powers of s
    vforms = np.concatenate([p[3:15], [1.0], p[15:20]]).reshape(3, 6)  # [power of s][den basis]
    num = p[20:36].reshape(4, 4)                                       # [power of s - 2][num basis]
    return fixed, vforms, num


def den_forms(p):
    """Denominator coefficient forms [power of s 0..5][den basis]: F times V."""
    fixed, vforms, _ = unpack(p)
    d = np.zeros((6, 6))
    for i in range(4):
        for j in range(3):
            d[i + j] += fixed[i] * vforms[j]
    return d


def response(p, tilt, s):
    s2 = np.asarray(tilt, float)
    s3 = taper_log(s2)
    _, _, num = unpack(p)
    d = den_basis(s2, s3) @ den_forms(p).T
    n = num_basis(s2, s3) @ num.T
    sp = s[None, :, None] ** np.arange(6)[None, None, :]
    return S1 * (n[:, None, :] * sp[:, :, 2:]).sum(-1) / (d[:, None, :] * sp).sum(-1)


def warped(f, fs):
    return 1j * 2 * fs * np.tan(np.pi * f / fs) / W0


def db(h):
    return 20 * np.log10(np.abs(h))


GRID_S2, GRID_S3 = [g.ravel() for g in np.meshgrid(np.linspace(0, 1.25, 30), np.linspace(0, S3MAX, 30))]
FINE_TILTS = np.linspace(0.25, 1.25, 41)
FINE_FREQS = np.geomspace(10, 20000, 48)


def v_values(p, s2, s3):
    _, vforms, _ = unpack(p)
    return den_basis(s2, s3) @ vforms.T


def v_roots(v):
    a, b, c = v[..., 2], v[..., 1], v[..., 0]
    disc = np.sqrt((b * b - 4 * a * c).astype(complex))
    return np.stack([(-b + disc) / (2 * a), (-b - disc) / (2 * a)], -1)


def all_poles(p):
    fixed, _, _ = unpack(p)
    return np.concatenate([np.roots(fixed[::-1]), v_roots(v_values(p, GRID_S2, GRID_S3)).ravel()])


def residuals(p):
    r = []
    # The table and the first samples are weighted up with their error (e + 2 e|e|) so the fit leans
    # toward the worst cell rather than the average.
    e = ((db(response(p, TILTS, warped(FREQS, 44100.0))) - TABLE) / 0.05).ravel()
    r.append(e + 2.0 * e * np.abs(e))
    r.append(((db(response(p, TILTS, warped(FREQS, 96000.0))) - TABLE) / 0.3).ravel() * 0.5)
    h0 = response(p, TILTS, np.array([2 * 44100.0 / W0 + 0j]))[:, 0].real
    e = (h0 - FIRST_SAMPLE) / FIRST_SAMPLE * 100 / 0.3
    r.append(e + 0.5 * e * np.abs(e))
    # Smooth in the tilt: small second differences, and between two tabulated settings the response
    # stays close to the range the two span.
    fine = db(response(p, FINE_TILTS, warped(FINE_FREQS, 44100.0)))
    r.append((fine[2:] - 2 * fine[1:-1] + fine[:-2]).ravel() * SMOOTH_WEIGHT)
    cells = db(response(p, FINE_TILTS, warped(FREQS, 44100.0)))
    for j in range(4):
        sel = (FINE_TILTS > TILTS[j]) & (FINE_TILTS < TILTS[j + 1])
        lo = np.minimum(TABLE[j], TABLE[j + 1])
        hi = np.maximum(TABLE[j], TABLE[j + 1])
        r.append(10 * np.maximum(0, np.maximum(cells[sel] - hi, lo - cells[sel]) - 0.25).ravel())
    # Stability with margin over the whole control range, and no very slow poles.
    v = v_values(p, GRID_S2, GRID_S3)
    r.append(100 * np.maximum(0, 0.1 - v / np.abs(v[0:1])).ravel())
    poles = all_poles(p)
    r.append(100 * np.maximum(0, poles.real / np.abs(poles) + 0.05))
    r.append(100 * np.maximum(0, np.log(LOWEST_POLE / np.abs(poles))))
    for k in conditions(p):
        r.append(30 * np.maximum(0, k - CONDITION_LIMIT))
    return np.concatenate(r)


def rounding_scale(forms, basis, powers, fs):
    """Sum of the magnitudes of every product the plug-in adds up for one digital polynomial: the
    size its rounding error scales with."""
    c = np.abs(binomial_products()).sum(0)                      # per power of s
    parts = np.abs(basis[:, None, :] * forms[None, :, :]).sum(2)  # [point, power]
    return (parts * ((2 * fs / W0) ** powers * c[powers])).sum(1)


def conditions(p):
    """log10 of rounding scale / |polynomial| at CONDITION_RATE: A and B at 10 Hz along the tilt, A at
    DC over the whole control range. The polynomials' values come from the prototype (the digital one
    is the analog one times (1 + 1/z)^5), so they carry no rounding of their own."""
    w = 2 * np.pi * 10.0 / CONDITION_RATE
    s = 1j * 2 * CONDITION_RATE / W0 * np.tan(w / 2)
    bilinear = np.abs(1 + np.exp(-1j * w)) ** 5
    s2, s3 = FINE_TILTS, taper_log(FINE_TILTS)
    forms = den_forms(p)
    _, _, num = unpack(p)
    dbas, nbas = den_basis(s2, s3), num_basis(s2, s3)
    dv = np.abs((dbas @ forms.T * s ** np.arange(6)).sum(1)) * bilinear
    nv = np.abs((nbas @ num.T * s ** np.arange(2, 6)).sum(1)) * bilinear
    ka = np.log10(rounding_scale(forms, dbas, np.arange(6), CONDITION_RATE) / dv)
    kb = np.log10(rounding_scale(num, nbas, np.arange(2, 6), CONDITION_RATE) / nv)
    gbas = den_basis(GRID_S2, GRID_S3)
    d0 = np.abs(gbas @ forms[0]) * 32
    k0 = np.log10(rounding_scale(forms, gbas, np.arange(6), CONDITION_RATE) / d0)
    return ka, kb, k0


def binomial_products():
    """c[i][k]: coefficient of z^-i in (1 - 1/z)^k (1 + 1/z)^(5 - k)."""
    c = np.zeros((6, 6))
    for k in range(6):
        poly = np.array([1.0])
        for _ in range(k):
            poly = np.polymul(poly, [1.0, -1.0])
        for _ in range(5 - k):
            poly = np.polymul(poly, [1.0, 1.0])
        c[:, k] = poly
    return c


def digital_terms(p):
    """kDen[i][basis][power of fs] and kNum[i][basis][power of fs] for the filter's coefficient terms."""
    c = binomial_products()
    d = den_forms(p)
    _, _, num = unpack(p)
    den = np.zeros((6, 6, 6))
    numt = np.zeros((6, 8, 6))
    # numerator basis of the filter: 1, s2, s3, s4, s2 s3, s2 s4, s3 s4, s2 s3 s4; ours all carry s4
    to_s4 = {0: 3, 1: 5, 2: 6, 3: 7}
    for i in range(6):
        for k in range(6):
            scale = (2.0 / W0) ** k * c[i, k]
            den[i, :, k] += d[k] * scale
            if k >= 2:
                for b in range(4):
                    numt[i, to_s4[b], k - 2] += num[k - 2, b] / S4 * scale / 0.2
    return den, numt


def digital_coefficients(den, numt, fs, s2, s3, s4):
    fsp = fs ** np.arange(6)
    a = (den @ fsp) @ np.array([1, s3, s3 * s3, s2, s2 * s3, s2 * s3 * s3])
    b = (numt @ fsp) @ np.array([1, s2, s3, s4, s2 * s3, s2 * s4, s3 * s4, s2 * s3 * s4])
    return a, b


def roots_inside(a, radius):
    """Exact test that every root of a0 z^5 + ... + a5 lies inside |z| < radius (step-down recursion
    in rational arithmetic on the double coefficients)."""
    c = [Fraction(float(x)) / radius ** i for i, x in enumerate(a)]
    while len(c) > 1:
        k = c[-1] / c[0]
        if abs(k) >= 1:
            return False
        n = len(c) - 1
        c = [c[i] - k * c[n - i] for i in range(n)]
    return True


def largest_root_radius(a):
    lo, hi = Fraction(99, 100), Fraction(1)
    if not roots_inside(a, hi):
        return float('inf')
    for _ in range(24):
        mid = (lo + hi) / 2
        if roots_inside(a, mid):
            hi = mid
        else:
            lo = mid
    return float(hi)


def check(den, numt):
    """Table errors of the digital filter built from the generated terms in double precision, its
    response evaluated in extended precision so that only the coefficients' own rounding shows; the
    first impulse samples (tabulated for 44.1 kHz); the largest pole radius over the control range."""
    out = {}
    grid = [g.ravel() for g in np.meshgrid(np.linspace(0, 1.25, 8), np.linspace(0, S3MAX, 8))]
    for fs in (44100.0, 96000.0, 192000.0):
        f32 = np.float32(fs)
        out_scale = 0.1 * float(f32 * f32)
        worst_db, worst_h0 = 0.0, 0.0
        for ti, t in enumerate(TILTS):
            a, b = digital_coefficients(den, numt, fs, t, taper_log(t), S4)
            w = (2 * np.pi * FREQS / fs).astype(np.longdouble)
            k = np.arange(6).astype(np.longdouble)
            cos, sin = np.cos(w[:, None] * k), -np.sin(w[:, None] * k)
            al, bl = a.astype(np.longdouble), b.astype(np.longdouble)
            ha = np.hypot(cos @ al, sin @ al)
            hb = np.hypot(cos @ bl, sin @ bl)
            h = 2 * out_scale * S1 * (hb / ha).astype(float)
            worst_db = max(worst_db, np.abs(db(h) - TABLE[ti]).max())
            h0 = 2 * out_scale * S1 * b[0] / a[0]
            worst_h0 = max(worst_h0, abs(h0 - FIRST_SAMPLE[ti]) / FIRST_SAMPLE[ti] * 100)
        radius = max(largest_root_radius(digital_coefficients(den, numt, fs, s2, s3, S4)[0])
                     for s2, s3 in zip(*grid))
        out[fs] = (worst_db, worst_h0 if fs == 44100.0 else None, radius)
    return out


def emit(path, den, numt, report):
    def arr(a):
        rows = []
        for i in range(a.shape[0]):
            terms = []
            for b in range(a.shape[1]):
                terms.append('{' + ', '.join('%.17g' % v for v in a[i, b]) + '}')
            rows.append('  {\n    ' + ',\n    '.join(terms) + '}')
        return '{\n' + ',\n'.join(rows) + '}'
    with open(path, 'w') as f:
        f.write('// Coefficient terms of the transient tilt shaper: polynomials in the clamped sample rate.\n')
        f.write('// Generated by tools/tiltfit/tiltfit.py; do not edit, re-run the tool.\n')
        for fs, (e_db, e_h0, radius) in sorted(report.items()):
            f.write('// At %g Hz: worst table error %.3f dB, largest pole radius %.6f%s.\n'
                    % (fs, e_db, radius, '' if e_h0 is None else ', worst first impulse sample %.3f %%' % e_h0))
        f.write('#pragma once\n\n')
        f.write('// kTiltDenTerms[i][j][m]: coefficient of fs^m in the term of A_i that multiplies den basis j\n')
        f.write('// (1, s3, s3^2, s2, s2 s3, s2 s3^2).\n')
        f.write('inline constexpr double kTiltDenTerms[6][6][6] = %s;\n\n' % arr(den))
        f.write('// kTiltNumTerms[i][j][m]: coefficient of fs^m in the term of B_i that multiplies num basis j\n')
        f.write('// (1, s2, s3, s4, s2 s3, s2 s4, s3 s4, s2 s3 s4).\n')
        f.write('inline constexpr double kTiltNumTerms[6][8][6] = %s;\n' % arr(numt))


def main():
    if len(sys.argv) != 2:
        sys.stderr.write('usage: tiltfit.py OUTPUT_HEADER\n')
        return 2
    fit = least_squares(residuals, np.array(START), method='trf', max_nfev=200, x_scale='jac')
    p = fit.x
    poles = all_poles(p)
    sys.stderr.write('analog poles over the control range: %.2f .. %.0f Hz\n'
                     % (np.abs(poles).min() * 1000, np.abs(poles).max() * 1000))
    den, numt = digital_terms(p)
    report = check(den, numt)
    for fs, (e_db, e_h0, radius) in sorted(report.items()):
        sys.stderr.write('%6g Hz: worst %.4f dB, pole radius %.6f%s\n'
                         % (fs, e_db, radius, '' if e_h0 is None else ', first sample %.4f %%' % e_h0))
    emit(sys.argv[1], den, numt, report)
    return 0


if __name__ == '__main__':
    sys.exit(main())
