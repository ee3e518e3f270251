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
  virtual int32_t LatencyFrames() const = 0;
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
  // The timeline frame the wall clock has reached (real-time sinks).
  int64_t WallFrame() const;

  // The output level, 0 (silent) to 1 (the sources as they are), applied
  // to the sum; for the user's volume of the time signal.
  void SetVolume(float vsngLevel) { msngVolume.store(std::clamp(vsngLevel, 0.0f, 1.0f)); }
  float Volume() const { return msngVolume.load(); }

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
  // Wall-clock anchor of a real-time sink: frame mlngAnchorFrame at mAnchor.
  std::chrono::steady_clock::time_point mAnchor;
  std::atomic<int64_t> mlngAnchorFrame{0};
};

// The process-wide engine; it starts with a silent sink.
SoundMixer& SoundEngine();

// Sends the sound engine to the machine's default audio device, through the
// audio module that is loaded only now. False when the machine has no audio
// device or the module is missing: the engine then keeps its silent sink,
// and its timing. Call on the user-interface thread, once the application
// runs.
bool InstallSoundOutput();

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

 private:
  SoundBuffer mBuffer;
  int64_t mlngFirst;  // the timeline frame of sample 0
  bool mblnFixed = false;
};

}  // namespace platform
