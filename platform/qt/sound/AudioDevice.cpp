#include "platform/qt/sound/AudioDevice.h"

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>
#include <cstdio>
#include <cstdlib>

#include "platform/Sound.h"

namespace platform::qt {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int64_t FramesOfMs(int64_t ms) { return ms * kSoundRate / 1000; }

// The server's buffer for the stream: doubled after the server ran dry
// while quiet, halved again with each new stream that did not.
constexpr int64_t kTargetMs = 30;
constexpr int64_t kLargestTargetMs = 120;
constexpr int64_t kRequestMs = 5;
// A sound out of quiet is heard this soon: it is written over the silence
// queued (the server rewinds), and while it sounds the stream is kept this
// short.
constexpr int64_t kQuickLeadMs = 24;
// A stamp lies this much beyond what the device has been given.
constexpr int64_t kLeadMarginMs = 5;
// Quiet this long, the stream closes: no wake-ups while nothing sounds.
constexpr int64_t kCloseAfterMs = 5000;
// How long connecting to the server may take before the clock gives up.
constexpr pa_usec_t kConnectTimeout = 2 * PA_USEC_PER_SEC;

// The sound engine on the sound server (PulseAudio, or PipeWire's pulse
// server). The stream opens when something is to sound and closes a few
// seconds after the last sound. The frame heard now, and how far ahead of
// it the engine must stamp, come from the server's own timing of the
// stream, taken over by the engine whenever nothing sounds.
class DeviceSink final : public ISoundSink {
 public:
  ~DeviceSink() override { Disconnect(); }

  bool Connect() {
    mLoop = pa_threaded_mainloop_new();
    if (!mLoop) return false;
    pa_proplist* props = pa_proplist_new();
    pa_proplist_sets(props, PA_PROP_APPLICATION_NAME, "Kelvora");
    pa_proplist_sets(props, PA_PROP_MEDIA_ROLE, "event");
    mContext = pa_context_new_with_proplist(pa_threaded_mainloop_get_api(mLoop), "Kelvora", props);
    pa_proplist_free(props);
    if (!mContext) return false;
    pa_context_set_state_callback(mContext, &DeviceSink::OnContextState, this);
    if (pa_context_connect(mContext, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) return false;
    if (pa_threaded_mainloop_start(mLoop) < 0) return false;
    mblnLoopRunning = true;

    pa_threaded_mainloop_lock(mLoop);
    bool timedOut = false;
    struct Timeout {
      pa_threaded_mainloop* Loop;
      bool* Flag;
    } timeout{mLoop, &timedOut};
    pa_time_event* timer = pa_context_rttime_new(
        mContext, pa_rtclock_now() + kConnectTimeout,
        [](pa_mainloop_api*, pa_time_event*, const struct timeval*, void* data) {
          auto* t = static_cast<Timeout*>(data);
          *t->Flag = true;
          pa_threaded_mainloop_signal(t->Loop, 0);
        },
        &timeout);
    pa_context_state_t state = pa_context_get_state(mContext);
    while (!timedOut && PA_CONTEXT_IS_GOOD(state) && state != PA_CONTEXT_READY) {
      pa_threaded_mainloop_wait(mLoop);
      state = pa_context_get_state(mContext);
    }
    if (timer) pa_threaded_mainloop_get_api(mLoop)->time_free(timer);
    pa_threaded_mainloop_unlock(mLoop);
    return state == PA_CONTEXT_READY;
  }

  void Start(SoundMixer& mixer) override {
    Locked lock(mLoop);
    mMixer = &mixer;
  }

  void Stop() override {
    Locked lock(mLoop);
    CloseStream();
    mMixer = nullptr;
  }

  bool RealTime() const override { return true; }
  int32_t LatencyFrames() const override { return static_cast<int32_t>(FramesOfMs(kTargetMs + kLeadMarginMs)); }
  bool Audible() const override { return true; }
  int32_t QuickLeadFrames() const override { return static_cast<int32_t>(FramesOfMs(kQuickLeadMs)); }

  void Wake() override {
    Locked lock(mLoop);
    mlngQuietFrames = 0;
    mblnClosing = false;
    if (mStream) {
      Rewind();
    } else {
      OpenStream();
    }
  }

  void Prepare() override {
    Locked lock(mLoop);
    mKeepOpenUntil = Clock::now() + std::chrono::seconds(5);
    mlngQuietFrames = 0;
    mblnClosing = false;
    if (!mStream) OpenStream();
  }

 private:
  // The mainloop's lock, held by every call from outside its thread.
  class Locked {
   public:
    explicit Locked(pa_threaded_mainloop* loop) : mLoop(loop) {
      if (mLoop) pa_threaded_mainloop_lock(mLoop);
    }
    ~Locked() {
      if (mLoop) pa_threaded_mainloop_unlock(mLoop);
    }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;

   private:
    pa_threaded_mainloop* mLoop;
  };

  static uint32_t BytesOfMs(int64_t ms) { return static_cast<uint32_t>(FramesOfMs(ms) * int64_t{sizeof(float)}); }

  void OpenStream() {
    if (!mMixer || !mContext || pa_context_get_state(mContext) != PA_CONTEXT_READY) return;
    const pa_sample_spec format{PA_SAMPLE_FLOAT32LE, static_cast<uint32_t>(kSoundRate), 1};
    mStream = pa_stream_new(mContext, "時報", &format, nullptr);
    if (!mStream) return;
    pa_buffer_attr attr{};
    attr.maxlength = static_cast<uint32_t>(-1);
    // A stream that closed without running dry starts smaller again.
    if (!mblnEnlarged && mlngTargetMs > kTargetMs) mlngTargetMs /= 2;
    mblnEnlarged = false;
    attr.tlength = BytesOfMs(mlngTargetMs);
    // Plays on through a stall: stream frame n is always heard n frames
    // after frame 0, and what comes too late is dropped, not delayed.
    attr.prebuf = 0;
    attr.minreq = BytesOfMs(kRequestMs);
    attr.fragsize = static_cast<uint32_t>(-1);
    pa_stream_set_write_callback(mStream, &DeviceSink::OnWrite, this);
    pa_stream_set_underflow_callback(mStream, &DeviceSink::OnUnderflow, this);
    mlngFirst = mMixer->ResumeAtStamp();
    // A new stream plays its first frames at once, while the engine expects
    // them a lead later: silence first, so that sound stamped before the
    // stream ran is heard as stamped and rendering stays behind the stamps.
    mlngPadding = std::max<int64_t>(FramesOfMs(mMixer->StampLeadMs() - 5), 0);
    mlngWritten = 0;
    mOpened = Clock::now();
    mlngLargestLead = 0;
    mlngQuietFrames = 0;
    const auto flags = static_cast<pa_stream_flags_t>(PA_STREAM_ADJUST_LATENCY | PA_STREAM_INTERPOLATE_TIMING |
                                                      PA_STREAM_AUTO_TIMING_UPDATE);
    if (pa_stream_connect_playback(mStream, nullptr, &attr, flags, nullptr, nullptr) < 0) CloseStream();
  }

  // A sound started while quiet lies in front of what was written: the
  // next write goes there, over the silence (the server drops what it has
  // already played).
  void Rewind() {
    const int64_t from = mMixer ? mMixer->TakeRewind() : -1;
    if (from < 0) return;
    const int64_t zero = mlngFirst - mlngPadding;
    const int64_t index = std::max<int64_t>(from - zero, 0);
    // Into the silence the stream starts with: it ends there.
    if (index < mlngPadding) {
      mlngPadding = index;
      mlngFirst = from;
    }
    if (index < mlngWritten) {
      mlngWritten = index;
      mblnSeek = true;
    }
  }

  void CloseStream() {
    mblnClosing = false;
    if (!mStream) return;
    pa_stream_set_write_callback(mStream, nullptr, nullptr);
    pa_stream_set_underflow_callback(mStream, nullptr, nullptr);
    pa_stream_disconnect(mStream);
    pa_stream_unref(mStream);
    mStream = nullptr;
  }

  void Disconnect() {
    if (mLoop && mblnLoopRunning) {
      {
        Locked lock(mLoop);
        CloseStream();
        if (mContext) pa_context_disconnect(mContext);
      }
      pa_threaded_mainloop_stop(mLoop);
      mblnLoopRunning = false;
    }
    if (mContext) pa_context_unref(mContext);
    mContext = nullptr;
    if (mLoop) pa_threaded_mainloop_free(mLoop);
    mLoop = nullptr;
  }

  static void OnContextState(pa_context*, void* data) {
    auto* self = static_cast<DeviceSink*>(data);
    pa_threaded_mainloop_signal(self->mLoop, 0);
  }

  static void OnUnderflow(pa_stream*, void* data) {
    auto* self = static_cast<DeviceSink*>(data);
    // A stream reports one as it starts; only later ones count.
    if (Clock::now() - self->mOpened > std::chrono::milliseconds(500)) self->mblnRanDry = true;
    if (std::getenv("KELVORA_SOUND_TRACE") && self->mMixer) {
      std::fprintf(stderr, "sound: the server ran dry %s\n", self->mMixer->Quiet() ? "(quiet)" : "while sounding");
    }
  }

  static void OnWrite(pa_stream* stream, size_t nbytes, void* data) {
    static_cast<DeviceSink*>(data)->Write(stream, nbytes);
  }

  void Write(pa_stream* stream, size_t nbytes) {
    if (!mMixer || stream != mStream) return;
    void* buffer = nullptr;
    size_t size = nbytes;
    if (pa_stream_begin_write(stream, &buffer, &size) < 0 || !buffer) return;
    const auto frames = static_cast<int32_t>(std::min(size, nbytes) / sizeof(float));
    if (frames <= 0) {
      pa_stream_cancel_write(stream);
      return;
    }
    auto* out = static_cast<float*>(buffer);
    const auto silent = static_cast<int32_t>(std::clamp<int64_t>(mlngPadding - mlngWritten, 0, frames));
    std::fill(out, out + silent, 0.0f);
    const auto sound = static_cast<int32_t>(
        std::clamp<int64_t>(mMixer->RenderLimit() - mMixer->RenderedFrames(), 0, frames - silent));
    if (sound > 0) mMixer->Render(out + silent, sound);
    if (silent + sound == 0) {
      pa_stream_cancel_write(stream);
      return;
    }
    const auto offset = mblnSeek ? mlngWritten * int64_t{sizeof(float)} : 0;
    pa_stream_write(stream, buffer, static_cast<size_t>(silent + sound) * sizeof(float), nullptr, offset,
                    mblnSeek ? PA_SEEK_ABSOLUTE : PA_SEEK_RELATIVE);
    mblnSeek = false;
    mlngWritten += silent + sound;
    Measure(stream);

    const bool quiet = mMixer->Quiet();
    mlngQuietFrames = quiet ? mlngQuietFrames + silent + sound : 0;
    if (quiet && mblnRanDry) Enlarge(stream);
    if (!mblnClosing && mlngQuietFrames >= FramesOfMs(kCloseAfterMs) && Clock::now() >= mKeepOpenUntil) {
      // Closed on the loop's next round, outside this callback, unless a
      // sound comes first.
      mblnClosing = true;
      pa_mainloop_api_once(
          pa_threaded_mainloop_get_api(mLoop),
          [](pa_mainloop_api*, void* data) {
            auto* self = static_cast<DeviceSink*>(data);
            if (self->mblnClosing) self->CloseStream();
          },
          this);
    }
  }

  // The frame heard now is the stream's first frame plus the server's
  // playing position; what has been written beyond it must stay ahead of
  // every stamp.
  void Measure(pa_stream* stream) {
    pa_usec_t played = 0;
    if (pa_stream_get_time(stream, &played) < 0) return;
    const auto now = Clock::now();
    // The stream's frame 0 is the first of the silence before mlngFirst.
    const int64_t zero = mlngFirst - mlngPadding;
    const int64_t heard = zero + static_cast<int64_t>(played) * kSoundRate / 1000000;
    const int64_t ahead = zero + mlngWritten - heard;
    mlngLargestLead = std::max(mlngLargestLead, ahead);
    mMixer->Retime(now, heard, mlngLargestLead + FramesOfMs(kLeadMarginMs));
  }

  void Enlarge(pa_stream* stream) {
    mblnRanDry = false;
    if (mlngTargetMs >= kLargestTargetMs) return;
    mlngTargetMs *= 2;
    mblnEnlarged = true;
    const pa_buffer_attr* current = pa_stream_get_buffer_attr(stream);
    if (!current) return;
    pa_buffer_attr attr = *current;
    attr.tlength = BytesOfMs(mlngTargetMs);
    if (pa_operation* op = pa_stream_set_buffer_attr(stream, &attr, nullptr, nullptr)) pa_operation_unref(op);
  }

  pa_threaded_mainloop* mLoop = nullptr;
  bool mblnLoopRunning = false;
  pa_context* mContext = nullptr;
  pa_stream* mStream = nullptr;
  SoundMixer* mMixer = nullptr;
  int64_t mlngTargetMs = kTargetMs;
  int64_t mlngFirst = 0;    // the timeline frame of the stream's first frame
  int64_t mlngWritten = 0;  // frames written to the stream, the silence first
  int64_t mlngPadding = 0;  // silence at the stream's start
  Clock::time_point mOpened{};
  int64_t mlngLargestLead = 0;
  int64_t mlngQuietFrames = 0;
  bool mblnRanDry = false;
  bool mblnEnlarged = false;  // the target grew during this stream
  bool mblnSeek = false;      // the next write goes to mlngWritten, not after the last
  bool mblnClosing = false;
  Clock::time_point mKeepOpenUntil{};
};

}  // namespace

bool InstallAudioDeviceSink() {
  auto sink = std::make_unique<DeviceSink>();
  if (!sink->Connect()) return false;
  SoundEngine().SetSink(std::move(sink));
  return true;
}

}  // namespace platform::qt
