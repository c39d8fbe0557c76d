// Sound and video in lumavista-info: the length as the media device reports it and, for AVI,
// whether the animation control takes the clip. The same components the pages use.
#include "Info.h"

#include "components/media/TAVIControl.h"
#include "components/media/TMediaPlayer.h"

namespace {

bool describeByDevice(const QString &path, QJsonObject &obj)
{
    // A length query plays nothing: without a choice of driver, the silent one is enough.
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
    TMediaPlayer player;
    player.setFileName(path);
    if (platform::Status status = player.Open(); !status) {
        obj["error"] = status.message();
        obj["mci_error"] = status.error().code;
        return false;
    }
    player.setTimeFormat(tfMilliseconds);
    obj["length_ms"] = player.Length();
    player.Close();
    return true;
}

bool describeAvi(const QString &path, const info::Options &, QJsonObject &obj)
{
    TAVIControl control;
    const bool accepted = control.Open(path);
    obj["animation_control"] = accepted;
    if (accepted) {
        obj["width"] = control.width();
        obj["height"] = control.height();
        obj["frames"] = control.FrameCount();
    }
    return describeByDevice(path, obj);
}

const bool registered =
    info::registerDescriber("WAV", [](const QString &path, const info::Options &,
                                      QJsonObject &obj) { return describeByDevice(path, obj); }) &&
    info::registerDescriber("MID", [](const QString &path, const info::Options &,
                                      QJsonObject &obj) { return describeByDevice(path, obj); }) &&
    info::registerDescriber("AVI", describeAvi);

} // namespace
