// A deliberately plain, step-by-step rendering of the signal chain: every coefficient, exponential and
// filter division is recomputed on every sample exactly as the processing rules state them, with the
// C library's maths. The product's chain must stay within 1e-9 of it; the benchmark measures both.
#pragma once

#include "plugin/QuorvaneChain.h"
#include "plugin/QuorvaneSettings.h"
#include "plugin/ReferenceCompressor.h"
#include "plugin/dsp/Biquad.h"
#include "plugin/dsp/Compressor.h"
#include "plugin/dsp/OnePoleSmoother.h"
#include "plugin/dsp/Shapers.h"
#include "plugin/dsp/Tilt.h"
#include "plugin/dsp/TiltPreTable.h"
#include "plugin/dsp/VUClass.h"

#include <cmath>
#include <initializer_list>

class ReferenceChain {
 public:
  void Reset(const QuorvaneSettings& s, double sampleRate) {
    comp.init(s.attackMs, s.releaseMs, 0.0, s.ratio, s.kneeFactor, QuorvaneChain::SafeRate(sampleRate));
  }

  void Process(const double* const* in, double* const* out, int nFrames, const QuorvaneSettings& s,
               QuorvaneSwitches sw, double sampleRate, QuorvaneChain::MeterSink meter = nullptr,
               void* meterContext = nullptr) {
    sw = QuorvaneChain::Sanitize(sw);
    const double fs = QuorvaneChain::SafeRate(sampleRate);

    double base;
    if (sw.turbo == 1) {
      turboHpfBase = 10.0;
      turboMidBoostDb = 0.0;
      base = 20.0;
    } else {
      turboHpfBase = 110.0;
      turboMidBoostDb = 4.0;
      base = 120.0;
    }
    const float hpFreq = static_cast<float>((1000.0 - base) * ((s.hpfPos - 20.0) / 480.0) + base);
    tilt[0].Calc(fs);
    tilt[1].Calc(fs);
    const float rate = static_cast<float>(fs);
    for (int c = 0; c < 2; ++c) {
      Biquad& hp = filters[c * 3];
      hp.setType(kHighPass);
      hp.setAmpdB(1.0f);
      hp.setQ(0.707f);
      hp.setFs(rate);
      hp.setFreq(QuorvaneChain::LimitToNyquist(hpFreq, rate));
      Biquad& pk = filters[c * 3 + 1];
      pk.setType(kPeaking);
      pk.setAmpdB(static_cast<float>(s.midGainDb + turboMidBoostDb));
      pk.setQ(0.507f);
      pk.setFs(rate);
      pk.setFreq(QuorvaneChain::LimitToNyquist(1600.0f, rate));
      Biquad& sh = filters[c * 3 + 2];
      sh.setType(kHighShelf);
      sh.setAmpdB(static_cast<float>(-s.hfDb));
      sh.setQ(0.3f);
      sh.setFs(rate);
      sh.setFreq(QuorvaneChain::LimitToNyquist(5000.0f, rate));
    }
    thresholdTargetDb = (s.thresholdPos + 15.0) / 30.0 * 35.0 - 40.0;

    for (int i = 0; i < nFrames; ++i) {
      const double g10 = std::exp(-6.283185307179586 * 10.0 / fs);
      const double g50 = std::exp(-6.283185307179586 * 50.0 / fs);
      for (OnePoleSmoother* sm : {&makeUp, &threshold, &mix}) {
        sm->b = g10;
        sm->a = 1.0 - g10;
      }
      gain.b = g50;
      gain.a = 1.0 - g50;

      const double d = offset;
      offset = -d;

      double xfIn[2], scSat[2], scFilt[2], det[2], compressed[2], xfOut[2];
      for (int c = 0; c < 2; ++c) {
        const double x = in[c][i];
        xfIn[c] = stage(x - d, sw.xformer);
        if (sw.externalSidechain == 1) {
          double sc = in[2 + c][i];
          if (!std::isfinite(sc)) sc = 0.0;
          scSat[c] = softSat(0.01 * (sc - d));
        } else {
          const double src = std::isfinite(xfIn[c]) ? xfIn[c] : stage(0.0 - d, sw.xformer);
          scSat[c] = softSat(0.01 * src);
        }
        Biquad* f = &filters[c * 3];
        float y = f[2].processSample(
            f[1].processSample(
                f[0].processSample(static_cast<float>(QuorvaneChain::LimitDetector(scSat[c])), 1), 1),
            1);
        if (!std::isfinite(y)) {
          for (int k = 0; k < 3; ++k) f[k].clear(1);
          y = 0.0f;
        }
        scFilt[c] = y;
        const double B = 6.0 * s.boostGain;
        const double pre = tiltPreShape(scFilt[c] * B) / B;
        double tiltOut = 100.0 * tilt[c].ProcessUncached(pre, 0.55, s.transientTilt, s.transientTilt, 0.25);
        if (!std::isfinite(tiltOut)) {
          tilt[c].Reset();
          tiltOut = 0.0;
        }
        det[c] = (1.0 - s.transientMix) * (100.0 * scFilt[c]) + s.transientMix * tiltOut;
        if (!std::isfinite(det[c])) det[c] = 0.0;
      }
      filters[2].processSample(0.0f, 1);
      filters[5].processSample(0.0f, 1);

      if (sw.turbo == 1) {
        const double m = 0.5 * (det[0] + det[1]);
        gainReductionDb = ProcessStereo(comp, m, m);
      } else {
        gainReductionDb = ProcessStereo(comp, det[0], det[1]);
      }
      comp.setAttack(s.attackMs);
      comp.setRelease(s.releaseMs);
      comp.setHold(0.0);
      comp.setRatio(s.ratio);
      comp.setThreshold(threshold.step(thresholdTargetDb));
      comp.setKneeFactor(s.kneeFactor);
      comp.setLimiter(false);

      const double G = std::exp(gainReductionDb * 0.1151292546497);
      const double gL = gain.step(G);
      const double mL = makeUp.step(s.makeUpGain);
      const double gR = gain.step(G);
      const double mR = makeUp.step(s.makeUpGain);
      compressed[0] = xfIn[0] * gL * mL;
      compressed[1] = xfIn[1] * gR * mR;
      for (int c = 0; c < 2; ++c) {
        xfOut[c] = sw.xformer == 1 ? 5.623413251903491 * xformerShape(0.1778279410038923 * compressed[c])
                                   : compressed[c];
      }
      const double inL = in[0][i], inR = in[1][i];
      if (sw.bypass == 1) {
        const double w1 = mix.step(s.compMix);
        const double w2 = mix.step(s.compMix);
        out[0][i] = (1.0 - w2) * inL + (xfOut[0] + d) * w1;
        const double w3 = mix.step(s.compMix);
        const double w4 = mix.step(s.compMix);
        out[1][i] = (1.0 - w4) * inR + (xfOut[1] + d) * w3;
      } else {
        out[0][i] = inL + d;
        out[1][i] = inR + d;
      }
      const double gM = gain.step(std::exp(gainReductionDb * 0.1151292546497));
      const double level = vu.Process(1.0 - gM, fs);
      if (meter) meter(meterContext, &level, 1);
    }
  }

  OnePoleSmoother makeUp, threshold, mix, gain;
  double thresholdTargetDb = 0.0;
  VUClass vu{1.0};
  Biquad filters[6];
  Tilt tilt[2];
  double turboHpfBase = 110.0, turboMidBoostDb = 4.0;
  double offset = 1e-15;
  compressor comp;
  double gainReductionDb = 1.0;

 private:
  static double stage(double x, int xformer) {
    return xformer == 1 ? 5.623413251903491 * xformerShape(softSat(0.1778279410038923 * x))
                        : 1.7782794100389228 * softSat(0.5623413251903491 * x);
  }
};
