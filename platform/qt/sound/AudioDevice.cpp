#include "platform/qt/sound/AudioDevice.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Sound.h"

namespace platform::qt {
namespace {

// Hands the mixer's timeline to the device as it asks for it.
class MixerStream final : public QIODevice {
 public:
  MixerStream(SoundMixer& mixer, bool vblnInt16) : mMixer(mixer), mblnInt16(vblnInt16) {}
  bool isSequential() const override { return true; }
  qint64 bytesAvailable() const override { return 1 << 20; }

 protected:
  qint64 readData(char* data, qint64 maxlen) override {
    const qint64 bytesPerFrame = mblnInt16 ? qint64(sizeof(int16_t)) : qint64(sizeof(float));
    const auto frames = static_cast<int32_t>(std::min<qint64>(maxlen / bytesPerFrame, 1 << 16));
    if (frames <= 0) return 0;
    mBlock.resize(static_cast<size_t>(frames));
    mMixer.Render(mBlock.data(), frames);
    if (mblnInt16) {
      auto* out = reinterpret_cast<int16_t*>(data);
      for (int32_t i = 0; i < frames; ++i) out[i] = static_cast<int16_t>(std::lround(mBlock[static_cast<size_t>(i)] * 32767.0f));
    } else {
      std::copy(mBlock.begin(), mBlock.end(), reinterpret_cast<float*>(data));
    }
    // How far the device has asked ahead of the wall clock: changes stamped
    // at least this far ahead are heard exactly when they were made.
    const int64_t lead = mMixer.RenderedFrames() - mMixer.WallFrame();
    if (lead > mlngLead.load()) mlngLead.store(lead);
    return qint64(frames) * bytesPerFrame;
  }
  qint64 writeData(const char*, qint64) override { return -1; }

 public:
  std::atomic<int64_t> mlngLead{0};

 private:
  SoundMixer& mMixer;
  bool mblnInt16;
  std::vector<float> mBlock;
};

class DeviceSink final : public ISoundSink {
 public:
  DeviceSink(const QAudioDevice& device, const QAudioFormat& format) : mDevice(device), mFormat(format) {}
  ~DeviceSink() override { Stop(); }

  void Start(SoundMixer& mixer) override {
    mStream = std::make_unique<MixerStream>(mixer, mFormat.sampleFormat() == QAudioFormat::Int16);
    mStream->open(QIODevice::ReadOnly);
    mSink = std::make_unique<QAudioSink>(mDevice, mFormat);
    // The backend's own buffer size: a small one set here left PulseAudio
    // waiting for its pre-buffer and the stream silent.
    mSink->start(mStream.get());
  }
  void Stop() override {
    if (mSink) mSink->stop();
    mSink.reset();
    mStream.reset();
  }
  bool RealTime() const override { return true; }
  int32_t LatencyFrames() const override {
    const int64_t lead = mStream ? mStream->mlngLead.load() : 0;
    return static_cast<int32_t>(std::clamp<int64_t>(lead, 0, kSoundRate)) + kSoundRate / 50;
  }

 private:
  QAudioDevice mDevice;
  QAudioFormat mFormat;
  std::unique_ptr<MixerStream> mStream;
  std::unique_ptr<QAudioSink> mSink;
};

}  // namespace

bool InstallAudioDeviceSink() {
  const QAudioDevice device = QMediaDevices::defaultAudioOutput();
  if (device.isNull()) return false;
  QAudioFormat format;
  format.setSampleRate(kSoundRate);
  format.setChannelCount(1);
  format.setSampleFormat(QAudioFormat::Float);
  if (!device.isFormatSupported(format)) format.setSampleFormat(QAudioFormat::Int16);
  if (!device.isFormatSupported(format)) return false;
  SoundEngine().SetSink(std::make_unique<DeviceSink>(device, format));
  return true;
}

}  // namespace platform::qt
