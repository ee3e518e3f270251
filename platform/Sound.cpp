#include "platform/Sound.h"

#include "platform/Module.h"

#include <dlfcn.h>
#include <sndfile.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cmath>

namespace platform {
namespace {
// KELVORA_SOUND_TRACE=1: the timeline's changes on stderr.
bool Tracing() {
  static const bool on = std::getenv("KELVORA_SOUND_TRACE") != nullptr;
  return on;
}
double SteadySeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}
}  // namespace

// ---- mixer

SoundMixer::SoundMixer() { SetSink(nullptr); }

SoundMixer::~SoundMixer() {
  if (mSink) mSink->Stop();
}

void SoundMixer::AddSource(std::shared_ptr<ISoundSource> source) {
  if (!source) return;
  {
    std::lock_guard<std::mutex> guard(mLock);
    mSources.push_back(std::move(source));
  }
  Wake();
}

void SoundMixer::Wake() {
  {
    std::lock_guard<std::mutex> guard(mLock);
    ++mlngWakeCount;
  }
  mWoken.notify_all();
  if (mSink) mSink->Wake();
}

void SoundMixer::SleepWhileQuiet(const std::atomic<bool>& running) {
  std::unique_lock<std::mutex> lock(mLock);
  const uint64_t seen = mlngWakeCount;
  const bool quiet = std::all_of(mSources.begin(), mSources.end(), [](const auto& s) { return s->Idle(); });
  if (!quiet) return;
  mWoken.wait(lock, [&] { return mlngWakeCount != seen || !running; });
  const int64_t wall = WallFrame();
  if (mlngRendered.load() < wall) mlngRendered.store(wall);
}

void SoundMixer::RemoveSource(const ISoundSource* source) {
  std::shared_ptr<ISoundSource> last;  // released outside the lock
  std::lock_guard<std::mutex> guard(mLock);
  const auto found = std::find_if(mSources.begin(), mSources.end(), [&](const auto& s) { return s.get() == source; });
  if (found == mSources.end()) return;
  last = std::move(*found);
  mSources.erase(found);
}

bool SoundMixer::HasSource(const ISoundSource* source) const {
  std::lock_guard<std::mutex> guard(mLock);
  return std::any_of(mSources.begin(), mSources.end(), [&](const auto& s) { return s.get() == source; });
}

int64_t SoundMixer::WallFrame() const {
  std::lock_guard<std::mutex> guard(mTimeLock);
  const auto since = std::chrono::steady_clock::now() - mAnchor;
  const auto us = std::chrono::duration_cast<std::chrono::microseconds>(since).count();
  return mlngAnchorFrame + us * kSoundRate / 1000000;
}

bool SoundMixer::QuietLocked() const {
  {
    std::lock_guard<std::mutex> guard(mTimeLock);
    if (RewindPendingLocked()) return false;
  }
  return mlngRendered.load() >= mlngLastStamp.load() &&
         std::all_of(mSources.begin(), mSources.end(), [](const auto& s) { return s->Idle(); });
}

// A stamp in front of the queued silence waits for its sound (the sink's
// Wake); one that no sound followed within a moment does not count.
bool SoundMixer::RewindPendingLocked() const {
  return mlngRewindTo >= 0 && std::chrono::steady_clock::now() - mRewindAsked < std::chrono::milliseconds(200);
}

bool SoundMixer::Quiet() const {
  std::lock_guard<std::mutex> guard(mLock);
  return QuietLocked();
}

void SoundMixer::ApplyRetimeIfQuiet() const {
  if (!Quiet()) return;
  std::lock_guard<std::mutex> guard(mTimeLock);
  mlngAlignedLead = 0;
  mblnAlignPending = false;
  mblnQuick = false;
  mblnRewindable = false;
  mlngRewindTo = -1;
  if (!mRetime.Due) return;
  if (Tracing()) {
    const auto shift = mlngAnchorFrame + std::chrono::duration_cast<std::chrono::microseconds>(mRetime.Heard - mAnchor).count() *
                                             kSoundRate / 1000000 - mRetime.Frame;
    if (std::abs(shift) > kSoundRate / 1000 || mlngLead != mRetime.Lead) {
      std::fprintf(stderr, "sound %.3f: retimed by %.2f ms, lead %.2f ms\n", SteadySeconds(),
                   static_cast<double>(shift) * 1000 / kSoundRate, static_cast<double>(mRetime.Lead) * 1000 / kSoundRate);
    }
  }
  mAnchor = mRetime.Heard;
  mlngAnchorFrame = mRetime.Frame;
  mlngLead = mRetime.Lead;
  mRetime.Due = false;
}

void SoundMixer::Retime(std::chrono::steady_clock::time_point vtimHeard, int64_t vlngFrame, int64_t vlngLead) {
  {
    std::lock_guard<std::mutex> guard(mTimeLock);
    mRetime = PendingRetime{true, vtimHeard, vlngFrame, std::max<int64_t>(vlngLead, 0)};
  }
  ApplyRetimeIfQuiet();
}

int64_t SoundMixer::ResumeAtStamp() {
  int64_t lead = 0;
  {
    std::lock_guard<std::mutex> guard(mTimeLock);
    lead = LeadLocked();
  }
  // A few milliseconds of slack for sound stamped just before the stream
  // was asked for.
  const int64_t first = WallFrame() + lead - kSoundRate / 200;
  if (Tracing()) std::fprintf(stderr, "sound %.3f: stream opens, lead %.2f ms\n", SteadySeconds(), static_cast<double>(lead) * 1000 / kSoundRate);
  std::lock_guard<std::mutex> guard(mLock);
  if (mlngRendered.load() < first) mlngRendered.store(first);
  return mlngRendered.load();
}

int64_t SoundMixer::StampFrame() const {
  const int64_t rendered = mlngRendered.load();
  if (!mSink || !mSink->RealTime()) return rendered;
  ApplyRetimeIfQuiet();
  const bool quiet = Quiet();
  const int64_t quick = mSink->QuickLeadFrames();
  const int64_t wall = WallFrame();
  int64_t stamp = 0;
  {
    std::lock_guard<std::mutex> guard(mTimeLock);
    if (mblnAlignPending) {
      // The first sound after AlignStamps is heard at the aligned moment;
      // what follows keeps its distance from it.
      mblnAlignPending = false;
      mlngAlignedLead = std::max(mlngAlignTarget - wall, mlngLead);
    } else if (quiet && mlngAlignedLead == 0 && quick > 0 && quick < mlngLead) {
      // A sound out of quiet is heard a quick lead from now, in front of
      // the silence queued; what follows keeps that lead.
      mlngAlignedLead = quick;
      mblnRewindable = true;
      mblnQuick = true;
      mQuickStart = std::chrono::steady_clock::now();
    }
    stamp = wall + LeadLocked();
    if (mblnRewindable && stamp < rendered) {
      if (mlngRewindTo < 0 || stamp < mlngRewindTo) mlngRewindTo = stamp;
      mRewindAsked = std::chrono::steady_clock::now();
    } else {
      mblnRewindable = mblnRewindable && mlngRewindTo >= 0;
      stamp = std::max(rendered, stamp);
    }
  }
  int64_t last = mlngLastStamp.load();
  while (last < stamp && !mlngLastStamp.compare_exchange_weak(last, stamp)) {
  }
  return stamp;
}

int64_t SoundMixer::LeadLocked() const {
  if (mlngAlignedLead == 0) return mlngLead;
  if (!mblnQuick) return mlngAlignedLead;
  const auto us = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - mQuickStart);
  return std::min(mlngLead, mlngAlignedLead + us.count() * kSoundRate / 1000000 / kQuickLeadGrowth);
}

int64_t SoundMixer::TakeRewind() {
  std::lock_guard<std::mutex> guard(mLock);
  int64_t to = -1;
  {
    std::lock_guard<std::mutex> time(mTimeLock);
    to = mlngRewindTo;
    mlngRewindTo = -1;
    mblnRewindable = false;
  }
  if (to < 0 || mlngRendered.load() <= to) return -1;
  if (Tracing()) {
    std::fprintf(stderr, "sound %.3f: rewound %.2f ms\n", SteadySeconds(),
                 static_cast<double>(mlngRendered.load() - to) * 1000 / kSoundRate);
  }
  mlngRendered.store(to);
  return to;
}

int64_t SoundMixer::RenderLimit() const {
  int64_t lead = 0;
  {
    std::lock_guard<std::mutex> guard(mTimeLock);
    lead = LeadLocked();
    if (mlngAlignedLead == 0 || lead >= mlngLead) return INT64_MAX;
  }
  // A millisecond short of the stamps: a stamp taken after this rendering
  // still lies ahead of it.
  return WallFrame() + lead - kSoundRate / 1000;
}

bool SoundMixer::AlignStamps(int32_t vlngMs) {
  if (!mSink || !mSink->Audible() || !Quiet()) return false;
  const int64_t lead = int64_t{vlngMs} * kSoundRate / 1000;
  int64_t first = 0;
  first = WallFrame() + lead;
  {
    std::lock_guard<std::mutex> guard(mTimeLock);
    if (lead < mlngLead) return false;
    mlngAlignedLead = lead;
    mblnQuick = mblnRewindable = false;
    mlngRewindTo = -1;
    mlngAlignTarget = first;
    mblnAlignPending = true;
  }
  if (Tracing()) std::fprintf(stderr, "sound %.3f: aligned %d ms ahead\n", SteadySeconds(), vlngMs);
  // Not quiet again before the aligned moment has been rendered.
  int64_t last = mlngLastStamp.load();
  while (last < first && !mlngLastStamp.compare_exchange_weak(last, first)) {
  }
  return true;
}

int32_t SoundMixer::StampLeadMs() const {
  std::lock_guard<std::mutex> guard(mTimeLock);
  return static_cast<int32_t>(LeadLocked() * 1000 / kSoundRate);
}

void SoundMixer::Render(float* out, int32_t frames) {
  std::fill(out, out + frames, 0.0f);
  std::vector<std::shared_ptr<ISoundSource>> ended;
  {
    std::lock_guard<std::mutex> guard(mLock);
    const int64_t start = mlngRendered.load();
    for (auto it = mSources.begin(); it != mSources.end();) {
      if ((*it)->Render(out, frames, start)) {
        ++it;
      } else {
        ended.push_back(std::move(*it));
        it = mSources.erase(it);
      }
    }
    mlngRendered.fetch_add(frames);
  }
  // A sample beyond full scale would wrap or distort in the device.
  const float volume = msngVolume.load();
  for (int32_t i = 0; i < frames; ++i) out[i] = std::clamp(out[i] * volume, -1.0f, 1.0f);
}

void SoundMixer::SetSink(std::unique_ptr<ISoundSink> sink) {
  if (mSink) mSink->Stop();
  mSink = sink ? std::move(sink) : std::make_unique<SilentSink>();
  {
    std::lock_guard<std::mutex> guard(mTimeLock);
    mlngAnchorFrame = std::max(mlngRendered.load(), mlngLastStamp.load());
    mAnchor = std::chrono::steady_clock::now();
    mlngLead = mSink->LatencyFrames();
    mlngAlignedLead = 0;
    mblnAlignPending = false;
    mblnQuick = mblnRewindable = false;
    mlngRewindTo = -1;
    mRetime.Due = false;
  }
  mlngRendered.store(mlngAnchorFrame);
  mSink->Start(*this);
}

SoundMixer& SoundEngine() {
  static SoundMixer engine;
  return engine;
}

// ---- paced sinks

PacedSink::~PacedSink() { Stop(); }

void PacedSink::Start(SoundMixer& mixer) {
  Stop();
  mMixer = &mixer;
  mblnRunning = true;
  mThread = std::thread([this, &mixer] { Run(&mixer); });
}

void PacedSink::Stop() {
  mblnRunning = false;
  if (mMixer) mMixer->Wake();
  if (mThread.joinable()) mThread.join();
  mMixer = nullptr;
}

void PacedSink::Run(SoundMixer* mixer) {
  std::vector<float> block(1024);
  while (mblnRunning) {
    if (SkipsSilence()) mixer->SleepWhileQuiet(mblnRunning);
    int64_t behind = mixer->WallFrame() - mixer->RenderedFrames();
    while (behind > 0 && mblnRunning) {
      const auto frames = static_cast<int32_t>(std::min<int64_t>(behind, static_cast<int64_t>(block.size())));
      mixer->Render(block.data(), frames);
      Consume(block.data(), frames);
      behind -= frames;
    }
    // Well inside the latency: changes stamped now are still ahead of the
    // frames rendered on the next wake-up.
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

CaptureSink::CaptureSink(bool vblnPaced) : mblnPaced(vblnPaced) {}

CaptureSink::~CaptureSink() { Stop(); }

void CaptureSink::Start(SoundMixer& mixer) {
  mMixer = &mixer;
  if (mblnPaced) mPacer.Start(mixer);
}

void CaptureSink::Stop() {
  mPacer.Stop();
  mMixer = nullptr;
}

void CaptureSink::Pull(int32_t frames) {
  if (!mMixer || mblnPaced || frames <= 0) return;
  std::vector<float> block(static_cast<size_t>(frames));
  mMixer->Render(block.data(), frames);
  Append(block.data(), frames);
}

void CaptureSink::Append(const float* samples, int32_t frames) {
  std::lock_guard<std::mutex> guard(mLock);
  mSamples.insert(mSamples.end(), samples, samples + frames);
}

std::vector<float> CaptureSink::Samples() const {
  std::lock_guard<std::mutex> guard(mLock);
  return mSamples;
}

void CaptureSink::Clear() {
  std::lock_guard<std::mutex> guard(mLock);
  mSamples.clear();
}

ScopedCapture::ScopedCapture(bool vblnPaced) {
  auto sink = std::make_unique<CaptureSink>(vblnPaced);
  mSink = sink.get();
  SoundEngine().SetSink(std::move(sink));
}

ScopedCapture::~ScopedCapture() { SoundEngine().SetSink(nullptr); }

// ---- files and buffers

namespace {

// libsndfile, with every codec it pulls in, is opened when a sound file is
// first decoded, not at the program's start. It is asked for by its fixed
// system name only, so the dynamic loader's own rules find it.
struct SoundFileLibrary {
  decltype(&sf_open) Open = nullptr;
  decltype(&sf_readf_float) ReadFloat = nullptr;
  decltype(&sf_close) Close = nullptr;
};

const SoundFileLibrary* SoundFiles() {
  static const SoundFileLibrary* library = []() -> const SoundFileLibrary* {
    void* handle = dlopen("libsndfile.so.1", RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
      std::fprintf(stderr, "Kelvora: libsndfile.so.1 を読み込めません: %s\n", dlerror());
      return nullptr;
    }
    static SoundFileLibrary found;
    found.Open = reinterpret_cast<decltype(&sf_open)>(dlsym(handle, "sf_open"));
    found.ReadFloat = reinterpret_cast<decltype(&sf_readf_float)>(dlsym(handle, "sf_readf_float"));
    found.Close = reinterpret_cast<decltype(&sf_close)>(dlsym(handle, "sf_close"));
    // Kept open for the run: decoding may come again at any hour.
    return found.Open && found.ReadFloat && found.Close ? &found : nullptr;
  }();
  return library;
}

}  // namespace

bool DecodeSoundFile(const std::string& path, SoundBuffer& buffer) {
  buffer.Samples.clear();
  if (path.empty()) return false;
  const SoundFileLibrary* sf = SoundFiles();
  if (!sf) return false;
  SF_INFO info{};
  SNDFILE* file = sf->Open(path.c_str(), SFM_READ, &info);
  if (!file) return false;
  // The header's frame count is only a claim: the file is read in blocks
  // as far as it really goes, and refused past an hour of sound (far beyond
  // any signal), so a short file cannot make the program claim gigabytes.
  std::vector<float> mono;
  bool tooLong = false;
  if (info.channels > 0 && info.samplerate > 0) {
    const int64_t limit = int64_t{info.samplerate} * 3600;
    const sf_count_t blockFrames = std::max(1, 65536 / info.channels);
    std::vector<float> block(static_cast<size_t>(blockFrames) * static_cast<size_t>(info.channels));
    sf_count_t read = 0;
    while (!tooLong && (read = sf->ReadFloat(file, block.data(), blockFrames)) > 0) {
      for (sf_count_t i = 0; i < read; ++i) {
        float sum = 0;
        for (int c = 0; c < info.channels; ++c) sum += block[static_cast<size_t>(i * info.channels + c)];
        // A damaged float sample (NaN, infinity) is silence, not a burst of
        // noise; beyond full scale the sound is clipped, as the mixer would.
        const float sample = sum / static_cast<float>(info.channels);
        mono.push_back(std::isfinite(sample) ? std::clamp(sample, -1.0f, 1.0f) : 0.0f);
      }
      tooLong = static_cast<int64_t>(mono.size()) > limit;
    }
  }
  sf->Close(file);
  if (mono.empty() || tooLong) return false;

  if (info.samplerate == kSoundRate) {
    buffer.Samples = std::move(mono);
    return true;
  }
  // Linear interpolation to the engine's rate.
  const double step = static_cast<double>(info.samplerate) / kSoundRate;
  const auto frames = static_cast<size_t>(std::floor((static_cast<double>(mono.size()) - 1) / step)) + 1;
  buffer.Samples.resize(frames);
  for (size_t i = 0; i < frames; ++i) {
    const double x = static_cast<double>(i) * step;
    const auto k = static_cast<size_t>(x);
    const double frac = x - static_cast<double>(k);
    const float a = mono[k];
    const float b = k + 1 < mono.size() ? mono[k + 1] : a;
    buffer.Samples[i] = static_cast<float>(a + (b - a) * frac);
  }
  return true;
}

BufferSource::BufferSource(SoundBuffer buffer, int64_t vlngStartFrame)
    : mBuffer(std::move(buffer)),
      mlngFirst(vlngStartFrame),
      mlngEnd(vlngStartFrame + static_cast<int64_t>(mBuffer.Samples.size())) {}

void BufferSource::StopAt(int64_t vlngFrame) {
  int64_t stop = mlngStop.load();
  while (vlngFrame < stop && !mlngStop.compare_exchange_weak(stop, vlngFrame)) {
  }
}

bool BufferSource::Render(float* out, int32_t frames, int64_t vlngStart) {
  const auto whole = static_cast<int64_t>(mBuffer.Samples.size());
  if (!mblnFixed) {
    // Started late: the whole sound still plays, from now on.
    mlngFirst = std::max(mlngFirst, vlngStart);
    mlngEnd.store(mlngFirst + whole);
    mblnFixed = true;
  }
  const int64_t end = EndFrame();
  const int64_t size = std::clamp<int64_t>(end - mlngFirst, 0, whole);
  for (int32_t i = 0; i < frames; ++i) {
    const int64_t k = vlngStart + i - mlngFirst;
    if (k >= 0 && k < size) out[i] += mBuffer.Samples[static_cast<size_t>(k)];
  }
  return vlngStart + frames < end;
}

bool InstallSoundOutput() {
  // The audio device's libraries are large: they load with this module
  // when sound output is wanted, not with the program.
  IModule* module = LoadModule("libkvaudio.so");
  const auto install = module ? reinterpret_cast<bool (*)()>(module->Symbol("KvInstallAudioDevice")) : nullptr;
  return install && install();
}

void PrepareSoundOutput() { SoundEngine().Sink().Prepare(); }

void ShutdownSoundOutput() { SoundEngine().SetSink(nullptr); }

}  // namespace platform
