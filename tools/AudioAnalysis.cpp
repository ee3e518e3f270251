#include "tools/AudioAnalysis.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace audio {
namespace {

// Mean absolute level over a centred window.
std::vector<double> Envelope(const std::vector<float>& s, size_t window) {
  std::vector<double> prefix(s.size() + 1, 0.0);
  for (size_t i = 0; i < s.size(); ++i) prefix[i + 1] = prefix[i] + std::fabs(s[i]);
  std::vector<double> env(s.size(), 0.0);
  const size_t half = window / 2;
  for (size_t i = 0; i < s.size(); ++i) {
    const size_t a = i >= half ? i - half : 0;
    const size_t b = std::min(s.size(), i + half);
    env[i] = (prefix[b] - prefix[a]) / static_cast<double>(window);
  }
  return env;
}

// The time (in samples, fractional) where the envelope passes the level
// between samples i − 1 and i.
double Cross(const std::vector<double>& v, size_t i, double level) {
  const double a = v[i - 1], b = v[i];
  return static_cast<double>(i - 1) + (b == a ? 0.0 : (level - a) / (b - a));
}

}  // namespace

double Rms(const std::vector<float>& samples, size_t first, size_t count) {
  if (count == 0 && first == 0) count = samples.size();
  count = std::min(count, samples.size() - std::min(first, samples.size()));
  if (count == 0) return 0;
  double sum = 0;
  for (size_t i = first; i < first + count; ++i) sum += double{samples[i]} * samples[i];
  return std::sqrt(sum / static_cast<double>(count));
}

std::vector<Gap> FindDropouts(const std::vector<float>& s, int32_t rate, double shorterThan) {
  std::vector<Gap> gaps;
  const size_t shortest = static_cast<size_t>(rate / 2000);
  size_t i = 0;
  while (i < s.size() && s[i] == 0.0f) ++i;  // the silence before the sound
  while (i < s.size()) {
    if (s[i] != 0.0f) {
      ++i;
      continue;
    }
    size_t j = i;
    while (j < s.size() && s[j] == 0.0f) ++j;
    const double length = static_cast<double>(j - i) / rate;
    if (j < s.size() && j - i >= shortest && length < shorterThan) {
      gaps.push_back({static_cast<double>(i) / rate, static_cast<double>(j) / rate});
    }
    i = j;
  }
  return gaps;
}

std::vector<Tone> FindTones(const std::vector<float>& s, int32_t rate, double bridge) {
  std::vector<Tone> tones;
  if (s.size() < 3) return tones;
  const std::vector<double> env = Envelope(s, static_cast<size_t>(rate / 200));  // 5 ms
  const double peak = *std::max_element(env.begin(), env.end());
  if (peak <= 1e-6) return tones;
  const double level = peak / 2;
  const float loudest = std::fabs(*std::max_element(s.begin(), s.end(), [](float a, float b) { return std::fabs(a) < std::fabs(b); }));
  const size_t window = static_cast<size_t>(rate / 200);
  size_t previousEnd = 0;
  const double hysteresis = peak / 10;

  size_t i = 1;
  while (i < s.size()) {
    while (i < s.size() && env[i] < level) ++i;
    if (i >= s.size()) break;
    const double start = Cross(env, i, level);
    size_t j = i;
    while (j < s.size() && env[j] >= level) ++j;
    double end = j < s.size() ? Cross(env, j, level) : static_cast<double>(s.size());
    // The half-level points lie behind the switching by half the fade-in and
    // fade-out; the first audible sample shows how far, and both ends move
    // back by that much so that they line up with the tone boundaries found
    // from the phase.
    size_t first = i > window ? std::max(previousEnd, i - window) : previousEnd;
    while (first < i && std::fabs(s[first]) <= 0.02f * loudest) ++first;
    const double lag = std::clamp(start - static_cast<double>(first), 0.0, static_cast<double>(window) / 2);
    const double onset = start - lag;
    end -= lag;
    previousEnd = j;

    // Rising zero crossings within the stretch, each after a swing below
    // −hysteresis, at sub-sample precision.
    std::vector<double> crossings;
    bool armed = false;
    for (size_t k = i; k < j; ++k) {
      if (s[k] < -hysteresis) armed = true;
      if (armed && s[k - 1] < 0 && s[k] >= 0) {
        crossings.push_back(static_cast<double>(k - 1) + s[k - 1] / (s[k - 1] - s[k]));
        armed = false;
      }
    }
    // Runs of steady period; a period off by more than 0.5 % starts a new run.
    std::vector<std::vector<double>> runs;
    for (size_t k = 0; k + 1 < crossings.size(); ++k) {
      const double period = crossings[k + 1] - crossings[k];
      if (runs.empty() || runs.back().size() < 2) {
        if (runs.empty()) runs.push_back({crossings[k]});
        runs.back().push_back(crossings[k + 1]);
        continue;
      }
      auto& run = runs.back();
      const double reference = (run.back() - run.front()) / static_cast<double>(run.size() - 1);
      if (std::fabs(period - reference) <= 0.005 * reference) {
        run.push_back(crossings[k + 1]);
      } else if (k + 2 < crossings.size() &&
                 std::fabs((crossings[k + 2] - crossings[k + 1]) - reference) <= 0.005 * reference) {
        run.push_back(crossings[k + 1]);  // a single odd period (noise) inside a run
      } else {
        runs.push_back({crossings[k + 1]});
      }
    }
    runs.erase(std::remove_if(runs.begin(), runs.end(), [](const auto& r) { return r.size() < 3; }), runs.end());

    std::vector<Tone> stretch;
    for (const auto& run : runs) {
      Tone tone;
      tone.Frequency = rate * static_cast<double>(run.size() - 1) / (run.back() - run.front());
      tone.Start = run.front();
      tone.End = run.back();
      stretch.push_back(tone);
    }
    // Boundaries: the phase runs at f1 up to the boundary and at f2 after it,
    // one whole period between the last crossing of one tone and the first
    // of the next.
    const auto solve = [](double f1, double f2, double c1, double c2) {
      return std::fabs(f1 - f2) < 1e-12 ? (c1 + c2) / 2 : c1 + (1.0 - f2 * (c2 - c1)) / (f1 - f2);
    };
    for (size_t k = 0; k + 1 < stretch.size(); ++k) {
      const double f1 = stretch[k].Frequency / rate, f2 = stretch[k + 1].Frequency / rate;
      const double c1 = stretch[k].End, c2 = stretch[k + 1].Start;
      double b = solve(f1, f2, c1, c2);
      // A boundary just before a crossing leaves a last period so close to
      // the old one that it joined the old run: then the change lies in that
      // period.
      if (b < c1 && runs[k].size() >= 3) b = std::max(solve(f1, f2, runs[k][runs[k].size() - 2], c1), runs[k][runs[k].size() - 2]);
      b = std::clamp(b, runs[k].size() >= 3 ? runs[k][runs[k].size() - 2] : c1, c2);
      stretch[k].End = b;
      stretch[k + 1].Start = b;
    }
    if (!stretch.empty()) {
      stretch.front().Start = onset;
      stretch.back().End = end;
    }
    for (Tone& tone : stretch) {
      tone.Start /= rate;
      tone.End /= rate;
      tones.push_back(tone);
    }
    i = j + 1;
  }
  if (bridge > 0) {
    std::vector<Tone> joined;
    for (const Tone& tone : tones) {
      if (!joined.empty()) {
        Tone& last = joined.back();
        if (tone.Start - last.End < bridge && std::fabs(tone.Frequency - last.Frequency) <= 0.005 * last.Frequency) {
          last.Frequency = (last.Frequency * last.Length() + tone.Frequency * tone.Length()) / (last.Length() + tone.Length());
          last.End = tone.End;
          continue;
        }
      }
      joined.push_back(tone);
    }
    tones = std::move(joined);
  }
  return tones;
}

}  // namespace audio
