#include <alsa/asoundlib.h>
#include <fluidsynth.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMutex>
#include <QThread>
#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <mutex>

#include "FluidSynth.h"
#include "SmfReader.h"
#include "SoundBackend.h"

Q_LOGGING_CATEGORY(lcSound, "examstudy.sound", QtWarningMsg)

namespace platform {
namespace {

// FluidSynth's logger is process-wide and may be called from its audio thread.
QMutex g_logMutex;
QString g_lastFluidError;

void fluidLog(int level, const char* message, void*) {
    const QString text = QString::fromUtf8(message);
    if (level <= FLUID_ERR) {
        QMutexLocker lock(&g_logMutex);
        g_lastFluidError = text;
    }
    // FluidSynth prints every failed driver probe on stderr; a machine without a
    // sound card is normal for this program, so these go to a quiet category.
    qCDebug(lcSound) << "fluidsynth:" << text;
}

// ALSA prints a dozen lines on stderr for every probe of a machine without a card.
void alsaLog(const char* file, int line, const char* function, int err, const char* format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    qCDebug(lcSound) << "alsa:" << file << line << function << err << text;
}

void installFluidLogger() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
            fluid_set_log_function(level, fluidLog, nullptr);
        snd_lib_error_set_handler(alsaLog);
    });
}

QString takeFluidError() {
    QMutexLocker lock(&g_logMutex);
    QString text = g_lastFluidError;
    g_lastFluidError.clear();
    return text;
}

QString withFluidReason(const QString& what) {
    const QString reason = takeFluidError();
    return reason.isEmpty() ? what : what + QStringLiteral("：") + reason;
}

bool fail(QString* error, const QString& why) {
    if (error) *error = why;
    qCDebug(lcSound) << why;
    return false;
}

// Only drivers that talk to a real device: "file" would write fluidsynth.wav into
// the working folder, and JACK may try to start a server of its own.
const char* const kDriverPreference[] = {"pulseaudio", "pipewire", "alsa"};

QStringList availableDrivers(fluid_settings_t* settings) {
    QStringList names;
    fluid_settings_foreach_option(
        settings, "audio.driver", &names, [](void* data, const char*, const char* option) {
            static_cast<QStringList*>(data)->append(QString::fromUtf8(option));
        });
    return names;
}

// Reads and checks a MIDI file; the bytes go to the player only when they parse.
bool loadMidi(const QString& file, QByteArray* bytes, QString* error) {
    constexpr qint64 kLargestMidi = qint64{16} * 1024 * 1024;
    QFile in(file);
    if (!in.exists()) return fail(error, QStringLiteral("找不到乐曲文件 %1").arg(file));
    if (in.size() > kLargestMidi)
        return fail(error, QStringLiteral("乐曲文件 %1 太大，不像 MIDI 文件").arg(file));
    if (!in.open(QIODevice::ReadOnly))
        return fail(error, QStringLiteral("无法读取乐曲文件 %1：%2").arg(file, in.errorString()));
    *bytes = in.readAll();
    MidiFileData midi;
    QString why;
    if (!parseMidi(*bytes, &midi, &why))
        return fail(error, QStringLiteral("乐曲文件 %1 已损坏：%2").arg(file, why));
    return true;
}

class FluidSynthBackend : public SoundBackend {
  public:
    FluidSynthBackend() { installFluidLogger(); }

    ~FluidSynthBackend() override {
        // The driver goes first so that its thread no longer touches the synth.
        if (driver_) delete_fluid_audio_driver(driver_);
        if (player_) delete_fluid_player(player_);
        if (synth_) delete_fluid_synth(synth_);
        if (settings_) delete_fluid_settings(settings_);
    }

    int outputDeviceCount() override { return ensureDriver(nullptr) ? 1 : 0; }

    bool playMidi(const QString& file, QString* error) override {
        QByteArray bytes;
        if (!loadMidi(file, &bytes, error)) return false;
        if (!ensureSoundFont(error)) return false;
        if (!ensureDriver(error)) return false;
        stop();
        player_ = new_fluid_player(synth_);
        if (player_ == nullptr)
            return fail(error, withFluidReason(QStringLiteral("无法创建 MIDI 播放器")));
        if (fluid_player_add_mem(player_, bytes.constData(), size_t(bytes.size())) != FLUID_OK ||
            fluid_player_set_loop(player_, -1) != FLUID_OK ||
            fluid_player_play(player_) != FLUID_OK) {
            delete_fluid_player(player_);
            player_ = nullptr;
            return fail(error, withFluidReason(QStringLiteral("无法播放乐曲 %1").arg(file)));
        }
        return true;
    }

    void stop() override {
        if (player_ == nullptr) return;
        fluid_player_stop(player_);
        // The player notices the stop on the audio thread's next block; deleting it
        // before then could cut a note mid-sample. A stuck output must not hang us.
        QElapsedTimer waited;
        waited.start();
        while (fluid_player_get_status(player_) == FLUID_PLAYER_PLAYING && waited.elapsed() < 500)
            QThread::msleep(5);
        delete_fluid_player(player_);
        player_ = nullptr;
        fluid_synth_all_sounds_off(synth_, -1);
    }

    void setOutputGain(int deviceId, quint32 volume) override {
        if (deviceId != 0) return;
        gain_ = gainForWaveVolume(volume);
        if (synth_) fluid_synth_set_gain(synth_, float(gain_));
    }

  private:
    bool ensureSynth(QString* error) {
        if (synth_) return true;
        settings_ = new_fluid_settings();
        if (settings_ == nullptr)
            return fail(error, withFluidReason(QStringLiteral("无法创建合成器设置")));
        fluid_settings_setnum(settings_, "synth.gain", gain_);
        synth_ = new_fluid_synth(settings_);
        if (synth_ == nullptr)
            return fail(error, withFluidReason(QStringLiteral("无法创建合成器")));
        return true;
    }

    bool ensureSoundFont(QString* error) {
        if (soundFontId_ >= 0) return true;
        if (!ensureSynth(error)) return false;
        const QString path = findSoundFont();
        if (path.isEmpty())
            return fail(error,
                        QStringLiteral("没有找到 SoundFont 音色库（请安装 timgm6mb-soundfont）"));
        const int id = fluid_synth_sfload(synth_, QFile::encodeName(path).constData(), 1);
        if (id == FLUID_FAILED)
            return fail(error, withFluidReason(QStringLiteral("无法载入音色库 %1").arg(path)));
        soundFontId_ = id;
        return true;
    }

    // Probed again on every call while it fails: a sound card may be plugged in or
    // a sound server started while the program runs.
    bool ensureDriver(QString* error) {
        if (driver_) return true;
        if (!ensureSynth(error)) return false;
        const QStringList available = availableDrivers(settings_);
        QStringList tried;
        for (const char* name : kDriverPreference) {
            if (!available.contains(QLatin1String(name))) continue;
            tried << QLatin1String(name);
            fluid_settings_setstr(settings_, "audio.driver", name);
            driver_ = new_fluid_audio_driver(settings_, synth_);
            if (driver_) {
                qCDebug(lcSound) << "audio driver" << name;
                takeFluidError();
                return true;
            }
        }
        return fail(error, withFluidReason(QStringLiteral("没有可用的声音输出设备（试过 %1）")
                                               .arg(tried.join(QStringLiteral("、")))));
    }

    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    fluid_audio_driver_t* driver_ = nullptr;
    fluid_player_t* player_ = nullptr;
    int soundFontId_ = -1;
    double gain_ = kFullGain;
};

}  // namespace

std::unique_ptr<SoundBackend> makeFluidSynthBackend() {
    return std::make_unique<FluidSynthBackend>();
}

double gainForWaveVolume(quint32 volume) {
    const double left = volume & 0xFFFF;
    const double right = volume >> 16;
    return (left + right) / (2.0 * 0xFFFF) * kFullGain;
}

QString findSoundFont(const QStringList& folders) {
    const QStringList searched = folders.isEmpty()
                                     ? QStringList{QStringLiteral("/usr/share/sounds/sf2"),
                                                   QStringLiteral("/usr/share/soundfonts")}
                                     : folders;
    for (const QString& folder : searched) {
        QString preferred = folder + QStringLiteral("/TimGM6mb.sf2");
        if (QFileInfo(preferred).isReadable()) return preferred;
    }
    for (const QString& folder : searched) {
        const QFileInfoList found =
            QDir(folder).entryInfoList({QStringLiteral("*.sf2")}, QDir::Files, QDir::Name);
        for (const QFileInfo& info : found)
            if (info.isReadable()) return info.absoluteFilePath();
    }
    return {};
}

bool renderMidiToWav(const QString& midiFile, const QString& wavFile, double maxSeconds,
                     QString* error, double gain) {
    installFluidLogger();
    QByteArray bytes;
    if (!loadMidi(midiFile, &bytes, error)) return false;
    const QString soundFont = findSoundFont();
    if (soundFont.isEmpty()) return fail(error, QStringLiteral("没有找到 SoundFont 音色库"));

    constexpr int kRate = 44100;
    constexpr int kPeriod = 64;
    fluid_settings_t* settings = new_fluid_settings();
    if (settings == nullptr)
        return fail(error, withFluidReason(QStringLiteral("无法创建合成器设置")));
    fluid_settings_setstr(settings, "audio.file.name", QFile::encodeName(wavFile).constData());
    fluid_settings_setstr(settings, "audio.file.type", "wav");
    fluid_settings_setstr(settings, "audio.file.format", "s16");
    fluid_settings_setstr(settings, "player.timing-source", "sample");
    fluid_settings_setint(settings, "audio.period-size", kPeriod);
    fluid_settings_setnum(settings, "synth.sample-rate", kRate);
    fluid_settings_setnum(settings, "synth.gain", gain);

    fluid_synth_t* synth = new_fluid_synth(settings);
    fluid_player_t* player = nullptr;
    fluid_file_renderer_t* renderer = nullptr;
    bool ok = false;
    if (synth == nullptr) {
        fail(error, withFluidReason(QStringLiteral("无法创建合成器")));
    } else if (fluid_synth_sfload(synth, QFile::encodeName(soundFont).constData(), 1) ==
               FLUID_FAILED) {
        fail(error, withFluidReason(QStringLiteral("无法载入音色库 %1").arg(soundFont)));
    } else if ((player = new_fluid_player(synth)) == nullptr ||
               fluid_player_add_mem(player, bytes.constData(), size_t(bytes.size())) != FLUID_OK ||
               fluid_player_play(player) != FLUID_OK) {
        fail(error, withFluidReason(QStringLiteral("无法播放乐曲 %1").arg(midiFile)));
    } else if ((renderer = new_fluid_file_renderer(synth)) == nullptr) {
        fail(error, withFluidReason(QStringLiteral("无法创建文件 %1").arg(wavFile)));
    } else {
        const long blocks = std::max(1L, long(maxSeconds * kRate / kPeriod));
        ok = true;
        for (long i = 0; i < blocks && fluid_player_get_status(player) == FLUID_PLAYER_PLAYING;
             ++i) {
            if (fluid_file_renderer_process_block(renderer) != FLUID_OK) {
                ok = fail(error, withFluidReason(QStringLiteral("写入 %1 失败").arg(wavFile)));
                break;
            }
        }
    }
    // The renderer closes the file, so it must go before the synth it reads from.
    if (renderer) delete_fluid_file_renderer(renderer);
    if (player) delete_fluid_player(player);
    if (synth) delete_fluid_synth(synth);
    delete_fluid_settings(settings);
    return ok;
}

}  // namespace platform
