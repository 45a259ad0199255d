#pragma once

#include "gui/support/GuiDriver.h"
#include "gui/support/GuiFixture.h"

#include "uilib/UiDialogs.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace ravelo::test {

/// A window test of the play area: the program's world of GuiFixture, the shipped key-map tips in the
/// program folder, the desktop's trash inside the test's folder, and every message box answered by
/// the test (the texts shown are kept).
class PlayFixture : public GuiFixture
{
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        if (HasFatalFailure())
            return;
        std::filesystem::create_directories(m_home / "LocalGameRes");
        std::filesystem::copy(std::string(RAVELO_SOURCE_DIR) + "/LocalGameRes/keymap",
                              m_home / "LocalGameRes/keymap", std::filesystem::copy_options::recursive);
        ::setenv("XDG_DATA_HOME", (m_home / "xdg-data").c_str(), 1);
        UiLib::SetMessageBoxHandler([this](const UiLib::MessageBoxRequest& box) {
            boxes.push_back(box.text.toStdString());
            return answer;
        });
    }

    void TearDown() override
    {
        UiLib::SetMessageBoxHandler(nullptr);
        ::unsetenv("XDG_DATA_HOME");
        GuiFixture::TearDown();
    }

    std::vector<std::string> boxes; // the texts of the message boxes shown
    int answer = 6;                 // IDYES
};

} // namespace ravelo::test
