#pragma once

#include "store/DownloadInfo.h"
#include "store/EmulatorInfo.h"
#include "store/Gameinfo.h"
#include "store/LocalGame.h"

#include <chrono>
#include <string>
#include <thread>

namespace ravelo::test {

// Records with every field set, so that a round trip that drops or swaps a column shows.
inline Gameinfo SampleGame(const std::string& id)
{
    return {id,
            "icon/" + id + ".png",
            "12.5",
            u"魂斗罗 " + std::u16string(id.begin(), id.end()),
            "FC",
            "ACT",
            "1",
            "0",
            "/games/FC/" + id + "/",
            id + ".zip",
            "1250001",
            "7",
            "http://play/" + id};
}

inline LocalGame SampleLocal(const std::string& path)
{
    return {u"超级马里奥", "icon.png", "40960", "FC", "0", path, "mario.nes", "125", "http://play/local"};
}

inline DownloadInfo SampleDownload(const std::string& id)
{
    DownloadInfo d;
    d.GameId = id;
    d.Icon = "icon/" + id + ".png";
    d.GameName = u"三国志 " + std::u16string(id.begin(), id.end());
    d.EmulatorShortName = "PS";
    d.CategoryShortName = "SLG";
    d.EmulatorId = "1190001";
    d.CategoryId = "3";
    d.PlayUrl = "http://play/" + id;
    d.FilePath = "/games/PS/" + id + "/";
    d.FileName = id + ".zip";
    d.NeedUnZip = "1";
    d.Volume = "1";
    d.UrlList = {"http://h/" + id + ".zip", "http://mirror/" + id + ".zip"};
    d.PanUrlList = {"http://pan/s/abc"};
    d.PanRealUrlList = {"", "http://pan/real?x=1&y=2"};
    d.VolumeUrlList = {{0, {{1, "http://h/v.001"}, {2, "http://h/v.002"}}}};
    d.VolumePanUrlList = {{0, {{1, "http://pan/s/v1"}}},
                          {1, {{1, "http://pan/s/w1"}, {2, "http://pan/s/w2"}}}};
    d.VolumePanRealUrlList = {{1, {{2, "http://user@pan/real2"}}}};
    d.FileLenth = "734003200";
    d.VolumeFileLenth = {{1, "367001600"}, {2, "367001600"}};
    d.FileList = {{"game.bin", "0cc175b9c0f1b6a831c399e269772661"},
                  {"game.cue", "92eb5ffee6ae2fec3ad71c777531578f"}};
    d.TotalSize = "700.00";
    d.CurrentSize = "0.0";
    d.Reserved1 = {"http://h/unpacked/" + id, "http://h/unpacked/" + id + "/2"};
    d.Reserved2 = 1;
    d.Reserved3 = "r3";
    d.Reserved4 = "r4";
    return d;
}

inline EmulatorInfo SampleEmulator(const std::string& id)
{
    EmulatorInfo e;
    e.EmulatorId = id;
    e.Name = u"模拟器 FCEUX";
    e.Version = "2.6.4";
    e.Downloadurl = "http://h/emu/" + id + ".zip";
    e.UpdateDate = "2024-01-02";
    e.Description = u"修复了声音\n新增金手指";
    e.Emulatortype = 125;
    e.System = "FC";
    e.Executet = {"fceux", "fceux-sdl"};
    e.Executeparam = "\"%s\" --fullscreen";
    e.Configtype = "0";
    e.KeyConfig = {{"pad.cfg", "cfg/input.cfg", "pad-default.cfg"}, {"kb.cfg", "cfg/kb.cfg", ""}};
    e.SetConfig = {{"set.ini", "fceux.ini"}};
    e.IsDefault = "1";
    return e;
}

/// Waits for a condition that nothing signals (the worker taking up its queue); the deadline
/// only guards against a hang.
template <typename Condition>
bool WaitUntil(Condition condition, std::chrono::seconds limit = std::chrono::seconds(20))
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::yield();
    }
    return true;
}

} // namespace ravelo::test
