#pragma once

#include "gui/common/CSkinDialog.h"

namespace ravelo {

/// Where to download a game from: the cloud drive ("百度网盘", 1), the program's servers ("普通", 4)
/// or the unpacked files ("免解压", 8). Only the offered sources show; each hidden one makes the
/// window 41 pixels lower. Ends with the chosen source's bit, or 2 when closed.
class CDownLoadTypeFrame : public CSkinDialog
{
public:
    explicit CDownLoadTypeFrame(int offeredSources);
    void InitWindow() override;

    /// The height the dialog loses for the sources it does not offer.
    static int HiddenHeight(int offeredSources);

protected:
    void OnClick(const QString& name, UiLib::TNotifyUI& msg) override;

private:
    int m_offered;
};

} // namespace ravelo
