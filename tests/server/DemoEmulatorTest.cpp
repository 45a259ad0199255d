// ravelo-demo-emu as the launcher meets it: the demo catalogue's emulator list and packages, unpacked
// with the client's own extractor and run as real processes; pad bindings written by the client's
// binding code and read back by the program.
#include "ServerTestSupport.h"
#include "download/CZip.h"
#include "emulator/PadBinding.h"
#include "support/FileText.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <future>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

extern char** environ;

namespace ravelo::test {
namespace {

namespace fs = std::filesystem;

struct RunResult
{
    int exitCode = -1;
    std::string out;
    std::string err;
};

/// Runs a program in a working folder with extra environment entries; its exit code, stdout and stderr.
/// Killed after a generous guard time, which counts as a failure (-1).
RunResult RunProgram(const std::vector<std::string>& args, const std::string& workingFolder,
                     const std::vector<std::string>& extraEnv, const std::string& scratch)
{
    std::vector<std::string> env = extraEnv;
    for (char** entry = environ; *entry; ++entry) {
        const std::string text = *entry;
        if (text.rfind("RAVELO_DEMO_EMU_", 0) != 0)
            env.push_back(text);
    }
    std::vector<char*> argv;
    for (const auto& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const auto& entry : env)
        envp.push_back(const_cast<char*>(entry.c_str()));
    envp.push_back(nullptr);

    const std::string outPath = scratch + "run.out";
    const std::string errPath = scratch + "run.err";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, workingFolder.c_str());
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    RunResult result;
    if (spawned != 0)
        return result;
    auto exit = std::async(std::launch::async, [pid] {
        int status = 0;
        ::waitpid(pid, &status, 0);
        return status;
    });
    if (exit.wait_for(std::chrono::seconds(30)) != std::future_status::ready)
        ::kill(pid, SIGKILL);
    const int status = exit.get();
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = ReadText(outPath);
    result.err = ReadText(errPath);
    return result;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

class DemoEmulatorTest : public ServerTest
{
protected:
    /// The served emulator list, by emulator id.
    std::map<std::string, Json::Value> Emulators()
    {
        auto client = Client();
        const auto answer =
            client.Post("/download/pc/update/emulators.php", "", "application/x-www-form-urlencoded");
        EXPECT_TRUE(answer && answer->status == 200);
        std::map<std::string, Json::Value> byId;
        if (!answer)
            return byId;
        const Json::Value list = ParseJson(answer->body);
        for (const auto& key : list.getMemberNames())
            for (const auto& emulator : list[key])
                byId[emulator["emulatorid"].asString()] = emulator;
        return byId;
    }

    /// Downloads an emulator's package and unpacks it with the client's extractor; the folder, with '/'.
    std::string Install(const Json::Value& emulator)
    {
        const std::string id = emulator["emulatorid"].asString();
        const std::string archive = m_work / (id + ".zip");
        WriteText(archive, Fetch(emulator["downloadurl"].asString()));
        const std::string folder = m_work / ("Emulator/" + id + "/");
        fs::create_directories(folder);
        CZip zip;
        EXPECT_EQ(1, zip.ZipExtract(archive, folder)) << zip.LastError();
        return folder;
    }

    /// What the launcher's apply step does for gamepad play: the default key and settings files put in
    /// place under their targets.
    static void ApplyGamePadFiles(const Json::Value& emulator, const std::string& folder)
    {
        const Json::Value& key = emulator["keyconfig"][0];
        const std::string source = key["defaultsource"].asString().empty() ? key["source"].asString()
                                                                           : key["defaultsource"].asString();
        fs::copy_file(folder + "GamePadCfg/" + source, folder + key["target"].asString(),
                      fs::copy_options::overwrite_existing);
        const Json::Value& settings = emulator["setconfig"][0];
        fs::copy_file(folder + "GamePadCfg/" + settings["source"].asString(),
                      folder + settings["target"].asString(), fs::copy_options::overwrite_existing);
    }

    /// A headless run of the emulator's last program, as a launcher started with the environment would.
    RunResult RunHeadless(const std::string& program, const std::vector<std::string>& args,
                          const std::string& workingFolder, const std::string& exitCode = "")
    {
        std::vector<std::string> argv{program};
        argv.insert(argv.end(), args.begin(), args.end());
        std::vector<std::string> env{"RAVELO_DEMO_EMU_HEADLESS=1"};
        if (!exitCode.empty())
            env.push_back("RAVELO_DEMO_EMU_EXIT_CODE=" + exitCode);
        return RunProgram(argv, workingFolder, env, m_work.Path());
    }

    std::string Game(const std::string& name)
    {
        fs::create_directories(m_work / "games");
        const std::string path = m_work / ("games/" + name);
        WriteText(path, "game bytes");
        return path;
    }

    TempFolder m_work;
};

TEST_F(DemoEmulatorTest, TheListExercisesEveryLaunchRuleAndEveryPackageRunsFromItsFolder)
{
    const auto emulators = Emulators();
    ASSERT_EQ(11u, emulators.size());
    EXPECT_EQ("@ --fullscreen", emulators.at("1190001")["executeparam"].asString());
    EXPECT_EQ("--game ", emulators.at("1200001")["executeparam"].asString());
    EXPECT_EQ("", emulators.at("1250001")["executeparam"].asString());
    EXPECT_EQ("-rom ~", emulators.at("1230001")["executeparam"].asString());
    EXPECT_EQ("-rom ~", emulators.at("1260001")["executeparam"].asString());
    EXPECT_EQ("~.cfg", emulators.at("1210001")["keyconfig"][0]["source"].asString());
    EXPECT_EQ("keys.cfg", emulators.at("1210001")["keyconfig"][0]["defaultsource"].asString());
    EXPECT_EQ("fcdemo.cfg", emulators.at("1250001")["keyconfig"][0]["target"].asString());
    EXPECT_EQ("mddemo.ini", emulators.at("1220001")["keyconfig"][0]["target"].asString());

    for (const auto& [id, emulator] : emulators) {
        SCOPED_TRACE(id);
        const std::string folder = Install(emulator);
        const Json::Value& execute = emulator["execute"];
        ASSERT_GE(execute.size(), 1u);
        for (const auto& program : execute)
            EXPECT_EQ(0, ::access((folder + program.asString()).c_str(), X_OK)) << program.asString();
        ApplyGamePadFiles(emulator, folder);
        const std::string manifest = ReadText(folder + "demo-emu.ini");
        if (id == "1190001") {
            EXPECT_NE(std::string::npos, manifest.find("title=ePSXe - 增强型 PSX 模拟器\n"));
        }

        // The game as the template hands it over; the arcade ones by bare name from roms/.
        const bool arcade = emulator["executeparam"].asString() == "-rom ~";
        std::vector<std::string> args;
        if (arcade) {
            fs::create_directories(folder + "roms");
            WriteText(folder + "roms/1081.zip", "set");
            args = {"-rom", "1081"};
        } else {
            args = {"--game", Game(id + ".bin")};
        }
        const std::string program = folder + execute[execute.size() - 1].asString();
        const RunResult run = RunHeadless(program, args, folder);
        EXPECT_EQ(0, run.exitCode) << run.err;
        EXPECT_NE(std::string::npos, run.out.find("输入方式: 手柄\n")) << run.out;
        EXPECT_NE(std::string::npos, run.out.find(arcade ? "游戏: 1081\n" : "游戏: " + id + "\n")) << run.out;
        std::string expectedLog = folder.substr(0, folder.size() - 1);
        for (const auto& arg : args)
            expectedLog += "\t" + arg;
        EXPECT_EQ(expectedLog + "\n", ReadText(folder + "launches.log"));

        if (execute.size() == 2) { // the first program gives up, so the launcher tries the next
            const RunResult renderer = RunHeadless(folder + execute[0].asString(), args, folder);
            EXPECT_EQ(1, renderer.exitCode);
            EXPECT_NE(std::string::npos, renderer.err.find("no HD renderer"));
        }
    }
}

TEST_F(DemoEmulatorTest, AHeadlessRunChangesOnlyItsOwnSettingsLinesAndEndsWithTheChosenCode)
{
    const Json::Value emulator = Emulators().at("1240001");
    const std::string folder = Install(emulator);
    const std::string program = folder + "ravelo-demo-emu";
    const std::string settings = folder + emulator["setconfig"][0]["target"].asString();
    ApplyGamePadFiles(emulator, folder);
    WriteText(settings, "# user settings\r\nvolume=35\r\nlaunches=4\r\n[video]\r\nscale=3");
    const std::string game = Game("Pocket Hero.gbc");
    const std::string elsewhere = m_work / "games/";

    RunResult run = RunHeadless(program, {"--fullscreen", game}, elsewhere, "7");
    EXPECT_EQ(7, run.exitCode) << run.err;
    EXPECT_EQ("# user settings\r\nvolume=35\r\nlaunches=5\r\n[video]\r\nscale=3\r\nlast_game=Pocket Hero\r\n",
              ReadText(settings));
    run = RunHeadless(program, {"Pocket Hero.gbc"}, elsewhere); // relative to the working folder
    EXPECT_EQ(0, run.exitCode) << run.err;
    EXPECT_NE(std::string::npos, ReadText(settings).find("\r\nlaunches=6\r\n"));
    const auto log = Lines(ReadText(folder + "launches.log"));
    ASSERT_EQ(2u, log.size());
    EXPECT_EQ(elsewhere.substr(0, elsewhere.size() - 1) + "\t--fullscreen\t" + game, log[0]);

    // The command line overrides the environment; a bad code is refused before anything is changed.
    const std::string before = ReadText(settings);
    run = RunProgram({program, "--headless", "--exit-code", "3", game}, folder,
                     {"RAVELO_DEMO_EMU_EXIT_CODE=9"}, m_work.Path());
    EXPECT_EQ(3, run.exitCode);
    run = RunHeadless(program, {"--exit-code", "many", game}, folder);
    EXPECT_EQ(64, run.exitCode);
    EXPECT_NE(std::string::npos, run.err.find("无效的退出码: many"));

    // A game that is not there: a clear message, code 2, and the settings file untouched.
    const std::string before2 = ReadText(settings);
    run = RunHeadless(program, {m_work / "games/missing.gbc"}, folder);
    EXPECT_EQ(2, run.exitCode);
    EXPECT_NE(std::string::npos, run.err.find("找不到游戏文件: " + (m_work / "games/missing.gbc")));
    run = RunHeadless(program, {"-rom", "nosuchset"}, folder);
    EXPECT_EQ(2, run.exitCode);
    EXPECT_EQ(before2, ReadText(settings));
    EXPECT_NE(before, before2) << "the --headless run counted";
    EXPECT_EQ(6u, Lines(ReadText(folder + "launches.log")).size()) << "every start is recorded";
}

TEST_F(DemoEmulatorTest, PadsBoundByTheClientAreTheOnesTheEmulatorShows)
{
    const auto emulators = Emulators();
    ControllerList pads(2);
    for (std::uint8_t i = 0; i < 16; ++i) {
        pads[0].instanceGuid[i] = static_cast<std::uint8_t>(0x10 + i);
        pads[1].instanceGuid[i] = static_cast<std::uint8_t>(0xA0 + i);
    }
    for (const char* id : {"1250001", "1220001"}) {
        SCOPED_TRACE(id);
        const Json::Value& emulator = emulators.at(id);
        const std::string folder = Install(emulator);
        ApplyGamePadFiles(emulator, folder);
        const std::string keyFile = folder + emulator["keyconfig"][0]["target"].asString();
        const std::string game = Game("Hero.bin");

        RunResult run = RunHeadless(folder + "ravelo-demo-emu", {game}, folder);
        ASSERT_EQ(0, run.exitCode) << run.err;
        EXPECT_EQ(std::string::npos, run.out.find("手柄: 玩家")) << "nothing bound by default\n" << run.out;

        EmulatorInfo record;
        record.EmulatorId = id;
        record.KeyConfig = {{emulator["keyconfig"][0]["source"].asString(),
                             emulator["keyconfig"][0]["target"].asString(),
                             emulator["keyconfig"][0]["defaultsource"].asString()}};
        const std::string keysBefore = ReadText(keyFile);
        ASSERT_TRUE(PadBinding::BindControllerList(record, folder, pads));
        const std::string keysAfter = ReadText(keyFile);
        EXPECT_NE(keysBefore, keysAfter);
        for (const std::string& line : Lines(keysBefore)) {
            if (line.rfind("Key.", 0) == 0 || line.rfind("InputKind", 0) == 0) {
                EXPECT_NE(std::string::npos, keysAfter.find(line + "\n")) << "kept: " << line;
            }
        }

        run = RunHeadless(folder + "ravelo-demo-emu", {game}, folder);
        ASSERT_EQ(0, run.exitCode) << run.err;
        if (std::string(id) == "1250001") {
            EXPECT_NE(std::string::npos, run.out.find("手柄: 玩家 1 13121110-1514-1716-1819-1A1B1C1D1E1F\n"))
                << run.out;
            EXPECT_NE(std::string::npos, run.out.find("手柄: 玩家 2 A3A2A1A0-A5A4-A7A6-A8A9-AAABACADAEAF\n"))
                << run.out;
        } else {
            EXPECT_NE(std::string::npos, run.out.find("手柄: 玩家 1 Joystick1Using=2\n")) << run.out;
            EXPECT_NE(std::string::npos, run.out.find("手柄: 玩家 2 Joystick2Using=3\n")) << run.out;
        }
    }
}

TEST_F(DemoEmulatorTest, PadsBoundByIdentityInAnIniFileAreReadBackToo)
{
    // No demo system binds this way, but the program reads the sections the client writes for it.
    const Json::Value emulator = Emulators().at("1220001");
    const std::string folder = Install(emulator);
    WriteText(folder + "demo-emu.ini", "title=N64\nsystem=N64\nkeyfile=pads.ini\nkeyformat=ini\n");
    WriteText(folder + "pads.ini", "InputKind=keyboard\n[Keys]\nA=X\n");
    EmulatorInfo record;
    record.EmulatorId = "1300001";
    record.KeyConfig = {{"pads.ini", "pads.ini", ""}};
    ControllerList pads(2);
    pads[0].instanceGuid = {0x78, 0x56, 0x34, 0x12, 0xBC, 0x9A, 0xF0, 0xDE, 1, 2, 3, 4, 5, 6, 7, 8};
    pads[1].instanceGuid[15] = 1;
    ASSERT_TRUE(PadBinding::BindControllerList(record, folder, pads));

    const RunResult run = RunHeadless(folder + "ravelo-demo-emu", {}, folder);
    ASSERT_EQ(0, run.exitCode) << run.err;
    EXPECT_NE(std::string::npos, run.out.find("游戏: 未载入游戏\n")) << run.out;
    EXPECT_NE(std::string::npos, run.out.find("输入方式: 键盘\n")) << run.out;
    EXPECT_NE(std::string::npos, run.out.find("手柄: 玩家 1 12345678-9ABC-DEF0-0102-030405060708\n"))
        << run.out;
    EXPECT_NE(std::string::npos, run.out.find("手柄: 玩家 2 00000000-0000-0000-0000-000000000001\n"))
        << run.out;
}

TEST_F(DemoEmulatorTest, TheWindowShowsAndRendersUnderAVirtualDisplay)
{
    if (::access("/usr/bin/xvfb-run", X_OK) != 0)
        GTEST_SKIP() << "xvfb-run is not installed";
    const Json::Value emulator = Emulators().at("1190001");
    const std::string folder = Install(emulator);
    ApplyGamePadFiles(emulator, folder);
    const std::string picture = m_work / "window.png";
    const RunResult run = RunProgram({"/usr/bin/xvfb-run", "-a", folder + "ravelo-demo-emu", "--screenshot",
                                      picture, Game("Dragon Sword.bin"), "--fullscreen"},
                                     folder, {}, m_work.Path());
    ASSERT_EQ(0, run.exitCode) << run.err;
    const std::string png = ReadText(picture);
    ASSERT_GE(png.size(), 24u);
    EXPECT_EQ(0u, png.rfind("\x89PNG\r\n\x1a\n", 0));
    auto be32 = [&png](std::size_t at) {
        return (static_cast<unsigned char>(png[at]) << 24) | (static_cast<unsigned char>(png[at + 1]) << 16) |
               (static_cast<unsigned char>(png[at + 2]) << 8) | static_cast<unsigned char>(png[at + 3]);
    };
    EXPECT_EQ(640u, static_cast<unsigned>(be32(16)));
    EXPECT_EQ(400u, static_cast<unsigned>(be32(20)));
    EXPECT_NE(std::string::npos,
              ReadText(folder + emulator["setconfig"][0]["target"].asString()).find("launches=1"));
}

TEST(DemoEmulatorPackages, AMissingProgramFailsTheBuildBeforeAnythingIsWritten)
{
    TempFolder folder;
    server::DemoOptions options;
    options.folder = folder / "demo";
    options.emulatorProgram = folder / "no-such-emu";
    std::string error;
    EXPECT_FALSE(server::DemoBuilder(options).Build(error));
    EXPECT_NE(std::string::npos, error.find("找不到演示模拟器程序")) << error;
    EXPECT_FALSE(fs::exists(folder / "demo"));
}

} // namespace
} // namespace ravelo::test
