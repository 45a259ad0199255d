#include "gui/play/CDownLoadGameItemUI.h"

#include "gui/play/MyGameView.h"
#include "uilib/CPaintManagerUI.h"

namespace ravelo {

using namespace UiLib;

QString CDownLoadGameItemUI::GetClass() const
{
    return QStringLiteral("DownLoadGameItemUI");
}

void* CDownLoadGameItemUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : CHorizontalLayoutUI::GetInterface(name);
}

CControlUI* CDownLoadGameItemUI::Icon()
{
    return m_pManager ? m_pManager->FindSubControlByName(this, QStringLiteral("Gi_Icon")) : nullptr;
}

void CDownLoadGameItemUI::Bind(const Gameinfo& game)
{
    m_game = game;
    if (!m_pManager)
        return;
    const auto set = [this](const char* name, const QString& text) {
        if (CControlUI* control = m_pManager->FindSubControlByName(this, QLatin1String(name)))
            control->SetText(text);
    };
    const QString title = QString::fromStdU16String(game.GameName);
    set("St_GameName", title.isEmpty() ? QString::fromStdString(game.GameId) : title);
    set("Lb_EmuType", QString::fromStdString(SystemLabel(game.EmulatorId)));
    set("Lb_Size", QString::fromStdString(SizeLabel(game.Size)));
    if (CControlUI* name = m_pManager->FindSubControlByName(this, QStringLiteral("St_GameName")))
        name->SetToolTip(name->GetText());
}

} // namespace ravelo
