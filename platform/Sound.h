#pragma once
// The sound engine: a mixer that adds up the signals of its sources on one
// timeline of frames (48 000 a second, mono float) and hands the sum to a
// sink: the audio device, a silent sink that only keeps time, or a capture
// for tests and tools.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace platform {

inline constexpr int32_t kSoundRate = 48000;

// A signal the mixer plays. Render runs on the audio thread.
class ISoundSource {
 public:
  virtual ~ISoundSource() = default;
  // Adds the signal of the timeline frames [vlngStart, vlngStart + frames)
  // to out. Returns false once the source has ended for good; the mixer then
  // drops it.
  virtual bool Render(float* out, int32_t frames, int64_t vlngStart) = 0;
  // True while the source is silent and stays silent until it is given
  // something new to play; whoever gives it that tells the mixer (Wake).
  virtual bool Idle() const { return false; }
};

// What sources and modules see of the mixer.
class ISoundMixer {
 public:
  virtual ~ISoundMixer() = default;
  virtual void AddSource(std::shared_ptr<ISoundSource> source) = 0;
  virtual void RemoveSource(const ISoundSource* source) = 0;
  // True while the source is still being played.
  virtual bool HasSource(const ISoundSource* source) const = 0;
  // The timeline frame at which a change made now is heard.
  virtual int64_t StampFrame() const = 0;
  // A source that was idle has something to play again.
  virtual void Wake() {}
};

class SoundMixer;

// Where the mixed signal goes.
class ISoundSink {
 public:
  virtual ~ISoundSink() = default;
  virtual void Start(SoundMixer& mixer) = 0;
  virtual void Stop() = 0;
  // A real-time sink consumes the timeline at the pace of the wall clock and
  // hears a change LatencyFrames() after it was made; a sink pulled by hand
  // hears it at the next frame pulled.
  virtual bool RealTime() const = 0;
  // The lead a stamp starts with (real-time sinks); a device corrects it
  // from what its server reports (SoundMixer::Retime).
  virtual int32_t LatencyFrames() const = 0;
  // True for a device someone hears (not a silent or capturing sink).
  virtual bool Audible() const { return false; }
  // Something is to sound: a device that closed its stream while quiet
  // opens it again. Called on the thread that made the sound.
  virtual void Wake() {}
  // Sound is due within seconds: the stream opens now and stays open a
  // few seconds, so that the sound finds it playing.
  virtual void Prepare() {}
  // A sink that can write again what it has queued but not yet played: a
  // sound started while quiet is stamped this soon, in front of the queued
  // silence (SoundMixer::TakeRewind); 0 when it cannot.
  virtual int32_t QuickLeadFrames() const { return 0; }
};

class SoundMixer final : public ISoundMixer {
 public:
  SoundMixer();
  ~SoundMixer() override;
  SoundMixer(const SoundMixer&) = delete;
  SoundMixer& operator=(const SoundMixer&) = delete;

  void AddSource(std::shared_ptr<ISoundSource> source) override;
  void RemoveSource(const ISoundSource* source) override;
  bool HasSource(const ISoundSource* source) const override;
  int64_t StampFrame() const override;
  void Wake() override;

  // Returns at once while some source plays; otherwise waits until one is
  // added or woken, or until running turns false. The silent stretch is not
  // rendered: the timeline resumes at the wall clock.
  void SleepWhileQuiet(const std::atomic<bool>& running);

  // Renders the next frames of the timeline (called by the sink).
  void Render(float* out, int32_t frames);
  int64_t RenderedFrames() const { return mlngRendered.load(); }
  // The timeline frame heard now (real-time sinks).
  int64_t WallFrame() const;

  // The output level, 0 (silent) to 1 (the sources as they are), applied
  // to the sum; for the user's volume of the time signal.
  void SetVolume(float vsngLevel) { msngVolume.store(std::clamp(vsngLevel, 0.0f, 1.0f)); }
  float Volume() const { return msngVolume.load(); }

  // Nothing sounds and nothing is stamped ahead of what was rendered: the
  // timeline may change without moving any sound against another.
  bool Quiet() const;
  // A device's report: frame vlngFrame is heard at vtimHeard, and a stamp
  // must lie vlngLead frames after the frame heard now to be still ahead of
  // what the device has been given. Taken at once while quiet, else kept
  // for the next quiet moment, so that no melody changes pace midway.
  void Retime(std::chrono::steady_clock::time_point vtimHeard, int64_t vlngFrame, int64_t vlngLead);
  // A device's stream starts (again): the rendering skips to just before
  // the first frame a stamp made now can name, so that sound stamped while
  // the stream was closed is not cut. Returns that frame.
  int64_t ResumeAtStamp();
  // The next sound stamped is heard vlngMs after now, and what follows it
  // keeps its distance from it, until the engine is quiet again: a signal
  // started early is heard on time, however long it takes to start. Only on a device, only while quiet and
  // only when vlngMs covers the device's lead; false otherwise.
  bool AlignStamps(int32_t vlngMs);
  // The lead of a stamp now, in milliseconds.
  int32_t StampLeadMs() const;
  // A sound started while quiet on a sink with a quick lead is stamped
  // before what has been rendered (silence): the frame from which the sink
  // renders and writes again, or -1. The rendering continues from there.
  int64_t TakeRewind();
  // The frame before which a sink may render now: while a quick start
  // sounds, no further than its stamps, so that none of them falls behind
  // what was rendered.
  int64_t RenderLimit() const;

  // Replaces the sink (the old one is stopped); nullptr installs a silent sink.
  void SetSink(std::unique_ptr<ISoundSink> sink);
  ISoundSink& Sink() const { return *mSink; }

 private:
  mutable std::mutex mLock;
  std::condition_variable mWoken;
  uint64_t mlngWakeCount = 0;
  std::vector<std::shared_ptr<ISoundSource>> mSources;
  std::atomic<int64_t> mlngRendered{0};
  std::atomic<float> msngVolume{1.0f};
  std::unique_ptr<ISoundSink> mSink;
  bool QuietLocked() const;
  void ApplyRetimeIfQuiet() const;

  // The timeline of a real-time sink: frame mlngAnchorFrame is heard at
  // mAnchor; a stamp lies mlngLead after the frame heard now, or, from an
  // aligned signal's or a quick start's first sound until quiet again,
  // mlngAlignedLead. Guarded by mTimeLock (taken after mLock, never before).
  mutable std::mutex mTimeLock;
  mutable std::chrono::steady_clock::time_point mAnchor;
  mutable int64_t mlngAnchorFrame = 0;
  mutable int64_t mlngLead = 0;
  mutable int64_t mlngAlignedLead = 0;
  mutable int64_t mlngAlignTarget = 0;
  mutable bool mblnAlignPending = false;
  // A quick start's rewind, until the sink takes it (or it goes stale: a
  // stamp that nothing followed).
  mutable int64_t mlngRewindTo = -1;
  mutable std::chrono::steady_clock::time_point mRewindAsked;
  mutable bool mblnRewindable = false;
  // A quick start's lead grows back to mlngLead by 1/kQuickLeadGrowth of the
  // time passed (0.5 %): the stream fills up again while the sound goes on,
  // each note that much longer (inaudibly) until it has.
  static constexpr int64_t kQuickLeadGrowth = 200;
  mutable bool mblnQuick = false;
  mutable std::chrono::steady_clock::time_point mQuickStart;
  int64_t LeadLocked() const;
  bool RewindPendingLocked() const;
  mutable std::atomic<int64_t> mlngLastStamp{0};
  struct PendingRetime {
    bool Due = false;
    std::chrono::steady_clock::time_point Heard;
    int64_t Frame = 0;
    int64_t Lead = 0;
  } mutable mRetime;
};

// The process-wide engine; it starts with a silent sink.
SoundMixer& SoundEngine();

// Sends the sound engine to the machine's default audio device, through the
// audio module that is loaded only now. False when the machine has no audio
// device or the module is missing: the engine then keeps its silent sink,
// and its timing. Call on the user-interface thread, once the application
// runs.
bool InstallSoundOutput();
// Sound is due within seconds (see ISoundSink::Prepare).
void PrepareSoundOutput();
// Stops and releases the audio device before the program ends; the engine
// keeps a silent sink. The application calls it on its way out, while
// everything the device uses still exists.
void ShutdownSoundOutput();

// Pulls the mixer at the pace of the wall clock on a thread of its own and
// hands every block to Consume (on that thread).
class PacedSink : public ISoundSink {
 public:
  ~PacedSink() override;
  void Start(SoundMixer& mixer) override;
  void Stop() override;
  bool RealTime() const override { return true; }
  int32_t LatencyFrames() const override { return kSoundRate / 40; }  // 25 ms

 protected:
  virtual void Consume(const float* samples, int32_t frames) = 0;
  // A sink whose output nobody hears may sleep through silence instead of
  // waking every few milliseconds to render it.
  virtual bool SkipsSilence() const { return false; }

 private:
  void Run(SoundMixer* mixer);
  SoundMixer* mMixer = nullptr;
  std::thread mThread;
  std::atomic<bool> mblnRunning{false};
};

// For a machine without an audio device: keeps the timeline moving so that
// sounds end on time, and discards the signal.
class SilentSink final : public PacedSink {
 protected:
  void Consume(const float*, int32_t) override {}
  bool SkipsSilence() const override { return true; }
};

// Keeps everything it is given. Pulled by hand (Pull) unless created paced,
// in which case it records in real time like an audio device.
class CaptureSink final : public ISoundSink {
 public:
  explicit CaptureSink(bool vblnPaced = false);
  ~CaptureSink() override;
  void Start(SoundMixer& mixer) override;
  void Stop() override;
  bool RealTime() const override { return mblnPaced; }
  int32_t LatencyFrames() const override { return mblnPaced ? mPacer.LatencyFrames() : 0; }

  // Renders and records the next frames (a sink pulled by hand only).
  void Pull(int32_t frames);
  std::vector<float> Samples() const;
  void Clear();

 private:
  class Pacer final : public PacedSink {
   public:
    explicit Pacer(CaptureSink& owner) : mOwner(owner) {}
   protected:
    void Consume(const float* samples, int32_t frames) override { mOwner.Append(samples, frames); }
   private:
    CaptureSink& mOwner;
  };
  void Append(const float* samples, int32_t frames);

  bool mblnPaced;
  Pacer mPacer{*this};
  SoundMixer* mMixer = nullptr;
  mutable std::mutex mLock;
  std::vector<float> mSamples;
};

// Installs a capture sink on the engine for its lifetime, then a silent one.
class ScopedCapture {
 public:
  explicit ScopedCapture(bool vblnPaced = false);
  ~ScopedCapture();
  ScopedCapture(const ScopedCapture&) = delete;
  ScopedCapture& operator=(const ScopedCapture&) = delete;
  CaptureSink& Sink() { return *mSink; }

 private:
  CaptureSink* mSink;
};

// A decoded sound, mono at kSoundRate.
struct SoundBuffer {
  std::vector<float> Samples;
};
// Decodes any sound file the platform's decoder reads (every WAVE
// encoding); false when it is missing, unreadable or empty.
bool DecodeSoundFile(const std::string& path, SoundBuffer& buffer);

// Plays a buffer once, starting at a timeline frame (or as soon as the
// mixer gets there, when that frame has already passed).
class BufferSource final : public ISoundSource {
 public:
  BufferSource(SoundBuffer buffer, int64_t vlngStartFrame);
  bool Render(float* out, int32_t frames, int64_t vlngStart) override;
  // The timeline frame after the last sample.
  int64_t EndFrame() const { return std::min(mlngEnd.load(), mlngStop.load()); }
  // Ends the sound at a timeline frame (where the next sound starts).
  void StopAt(int64_t vlngFrame);

 private:
  SoundBuffer mBuffer;
  int64_t mlngFirst;  // the timeline frame of sample 0
  std::atomic<int64_t> mlngEnd;
  std::atomic<int64_t> mlngStop{INT64_MAX};
  bool mblnFixed = false;
};

}  // namespace platform
