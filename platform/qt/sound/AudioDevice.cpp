#include "platform/qt/sound/AudioDevice.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>

#include <algorithm>
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
    return qint64(frames) * bytesPerFrame;
  }
  qint64 writeData(const char*, qint64) override { return -1; }

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
    mSink->setBufferSize(static_cast<qsizetype>(kSoundRate / 25) * mFormat.bytesPerFrame());  // 40 ms
    mSink->start(mStream.get());
  }
  void Stop() override {
    if (mSink) mSink->stop();
    mSink.reset();
    mStream.reset();
  }
  bool RealTime() const override { return true; }
  int32_t LatencyFrames() const override {
    const qsizetype bytes = mSink ? mSink->bufferSize() : 0;
    const int frameBytes = std::max(1, mFormat.bytesPerFrame());
    return static_cast<int32_t>(bytes / frameBytes) + kSoundRate / 100;
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
