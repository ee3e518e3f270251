#include "platform/qt/sound/AudioDevice.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/Sound.h"

namespace platform::qt {
namespace {

// Hands the mixer's timeline to the device as it asks for it.
class MixerStream final : public QIODevice {
 public:
  explicit MixerStream(SoundMixer& mixer) : mMixer(mixer) {}
  bool isSequential() const override { return true; }
  qint64 bytesAvailable() const override { return 1 << 20; }

 protected:
  qint64 readData(char* data, qint64 maxlen) override {
    const auto frames = static_cast<int32_t>(std::min<qint64>(maxlen / qint64(sizeof(float)), 1 << 16));
    if (frames <= 0) return 0;
    mMixer.Render(reinterpret_cast<float*>(data), frames);
    return qint64(frames) * qint64(sizeof(float));
  }
  qint64 writeData(const char*, qint64) override { return -1; }

 private:
  SoundMixer& mMixer;
};

class DeviceSink final : public ISoundSink {
 public:
  DeviceSink(const QAudioDevice& device, const QAudioFormat& format) : mDevice(device), mFormat(format) {}
  ~DeviceSink() override { Stop(); }

  void Start(SoundMixer& mixer) override {
    mStream = std::make_unique<MixerStream>(mixer);
    mStream->open(QIODevice::ReadOnly);
    mSink = std::make_unique<QAudioSink>(mDevice, mFormat);
    mSink->setBufferSize(static_cast<qsizetype>(kSoundRate / 25 * sizeof(float)));  // 40 ms
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
    return static_cast<int32_t>(bytes / qsizetype(sizeof(float))) + kSoundRate / 100;
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
  if (!device.isFormatSupported(format)) return false;
  SoundEngine().SetSink(std::make_unique<DeviceSink>(device, format));
  return true;
}

}  // namespace platform::qt
