#pragma once

#include "gui/common/CSkinDialog.h"

namespace ravelo {

/// Which disc of a game to start: one button per disc (1 to 4). A disc's button ends it with the
/// disc's 0-based index; closing it ends it with -1. With no disc it ends at once with -1.
class CMultiDiscSelectFrame : public CSkinDialog
{
public:
    explicit CMultiDiscSelectFrame(int discCount);
    void InitWindow() override;
    void Notify(UiLib::TNotifyUI& msg) override;

    /// How much lower than designed (for four discs) the window is for a count of discs.
    static int HiddenHeight(int discCount);

protected:
    void OnClick(const QString& name, UiLib::TNotifyUI& msg) override;
    int ClosedCode() const override { return -1; }

private:
    int m_count;
};

} // namespace ravelo
