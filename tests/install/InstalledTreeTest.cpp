// The layout "cmake --install" gives, and the desktop files and the service unit through the
// validators the desktop and systemd use.
#include "install/InstalledTree.h"
#include "support/FileText.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace ravelo::test {
namespace {

namespace fs = std::filesystem;

const std::string AppId = RAVELO_APP_ID;

/// Width and height from a PNG's header; {0, 0} when the file is not a PNG.
std::pair<std::uint32_t, std::uint32_t> PngSize(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    unsigned char head[24] = {};
    if (!in.read(reinterpret_cast<char*>(head), sizeof head) || head[1] != 'P' || head[2] != 'N' ||
        head[3] != 'G' || std::string(reinterpret_cast<char*>(head + 12), 4) != "IHDR")
        return {0, 0};
    const auto word = [&head](int at) {
        return std::uint32_t(head[at]) << 24 | std::uint32_t(head[at + 1]) << 16 |
               std::uint32_t(head[at + 2]) << 8 | std::uint32_t(head[at + 3]);
    };
    return {word(16), word(20)};
}

class InstalledTreeTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(InstalledTree::Get().Ok()) << "cmake --install failed"; }
    std::string Prefix() const { return InstalledTree::Get().Prefix(); }
};

TEST_F(InstalledTreeTest, ProgramsSharedFilesAndManualPagesAreWhereLinuxExpectsThem)
{
    for (const char* program : {"ravelo", "ravelo-cli", "ravelo-server", "ravelo-update"}) {
        const std::string path = Prefix() + "bin/" + program;
        EXPECT_EQ(::access(path.c_str(), X_OK), 0) << path;
    }
    EXPECT_EQ(::access((Prefix() + "libexec/ravelo/ravelo-demo-emu").c_str(), X_OK), 0);
    // No portable.txt anywhere: an installed program keeps the user's files in the XDG folders.
    for (const std::string& path : InstalledTree::Get().Listing())
        EXPECT_EQ(path.find("portable.txt"), std::string::npos) << path;

    EXPECT_TRUE(fs::is_regular_file(Prefix() + "share/ravelo/LocalGameRes/gamelist/arcade_ch.ini"));
    EXPECT_GT(fs::file_size(Prefix() + "share/ravelo/LocalGameRes/icon/arcade.zip"), 100u);
    EXPECT_FALSE(fs::is_empty(Prefix() + "share/ravelo/LocalGameRes/keymap/gamepad"));

    for (const char* page : {"ravelo", "ravelo-cli", "ravelo-server", "ravelo-update"}) {
        const std::string path = Prefix() + "share/man/man1/" + page + ".1.gz";
        ASSERT_TRUE(fs::is_regular_file(path)) << path;
        const std::string text = ReadText(path);
        ASSERT_GE(text.size(), 2u);
        EXPECT_EQ(static_cast<unsigned char>(text[0]), 0x1f) << path; // gzip
        EXPECT_EQ(static_cast<unsigned char>(text[1]), 0x8b) << path;
    }
}

TEST_F(InstalledTreeTest, OneApplicationIdNamesTheEntryTheMetainfoAndEveryIcon)
{
    const std::string desktop = ReadText(Prefix() + "share/applications/" + AppId + ".desktop");
    EXPECT_NE(desktop.find("\nIcon=" + AppId + "\n"), std::string::npos);
    EXPECT_NE(desktop.find("\nExec=ravelo\n"), std::string::npos);
    const std::string metainfo = ReadText(Prefix() + "share/metainfo/" + AppId + ".metainfo.xml");
    EXPECT_NE(metainfo.find("<id>" + AppId + "</id>"), std::string::npos);
    EXPECT_NE(metainfo.find(">" + AppId + ".desktop</launchable>"), std::string::npos);
    EXPECT_EQ(metainfo.find('@'), std::string::npos) << "an unfilled placeholder";

    for (std::uint32_t side : {16u, 22u, 24u, 32u, 48u, 64u, 128u, 256u}) {
        const std::string size = std::to_string(side) + "x" + std::to_string(side);
        const std::string icon = Prefix() + "share/icons/hicolor/" + size + "/apps/" + AppId + ".png";
        EXPECT_EQ(PngSize(icon), std::make_pair(side, side)) << icon;
    }
    const std::string svg = ReadText(Prefix() + "share/icons/hicolor/scalable/apps/" + AppId + ".svg");
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    EXPECT_NE(svg.find("viewBox=\"0 0 128 128\""), std::string::npos);
    EXPECT_NE(svg.find("</svg>"), std::string::npos);
}

TEST_F(InstalledTreeTest, DesktopEntryAndMetainfoPassTheirValidators)
{
    const std::string desktopValidate = FindOnPath("desktop-file-validate");
    const std::string appstream = FindOnPath("appstreamcli");
    if (desktopValidate.empty() || appstream.empty())
        GTEST_SKIP() << "desktop-file-validate (desktop-file-utils) or appstreamcli (appstream) is missing";
    std::string output;
    EXPECT_EQ(RunToEnd({desktopValidate, Prefix() + "share/applications/" + AppId + ".desktop"}, &output), 0)
        << output;
    output.clear();
    EXPECT_EQ(RunToEnd({appstream, "validate", "--no-net", "--pedantic",
                        Prefix() + "share/metainfo/" + AppId + ".metainfo.xml"},
                       &output),
              0)
        << output;
}

TEST_F(InstalledTreeTest, ServiceUnitPassesSystemdVerification)
{
    const std::string unitPath = Prefix() + RAVELO_SYSTEMD_UNITDIR "/ravelo-server.service";
    std::string unit = ReadText(unitPath);
    ASSERT_FALSE(unit.empty()) << unitPath;
    // Not started by anything but the administrator, as nobody in particular, keeping its catalogue
    // in its own state folder.
    EXPECT_NE(unit.find("\nDynamicUser=yes\n"), std::string::npos);
    EXPECT_NE(unit.find("\nStateDirectory=ravelo-server\n"), std::string::npos);
    EXPECT_NE(unit.find("\nExecStart=/usr/bin/ravelo-server serve --root /var/lib/ravelo-server/catalogue"),
              std::string::npos);

    const std::string analyze = FindOnPath("systemd-analyze");
    if (analyze.empty())
        GTEST_SKIP() << "systemd-analyze (systemd) is missing";
    // The unit names the program where the package puts it; verify it against the one installed here.
    const std::string program = "ExecStart=/usr/bin/ravelo-server";
    unit.replace(unit.find(program), program.size(), "ExecStart=" + Prefix() + "bin/ravelo-server");
    TempFolder units;
    WriteText(units / "ravelo-server.service", unit);
    std::string output;
    EXPECT_EQ(RunToEnd({analyze, "verify", "--man=no", units / "ravelo-server.service"}, &output), 0)
        << output;
}

} // namespace
} // namespace ravelo::test
