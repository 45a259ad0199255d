#include "gui/play/CLocalGameItemUI.h"

#include "gui/play/MyGameView.h"
#include "uilib/CPaintManagerUI.h"

namespace ravelo {

using namespace UiLib;

QString CLocalGameItemUI::GetClass() const
{
    return QStringLiteral("LocalGameItemUI");
}

void* CLocalGameItemUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : CHorizontalLayoutUI::GetInterface(name);
}

void CLocalGameItemUI::Bind(const LocalGame& game)
{
    m_game = game;
    if (!m_pManager)
        return;
    const auto find = [this](const char* name) {
        return m_pManager->FindSubControlByName(this, QLatin1String(name));
    };
    const QString path = QString::fromStdString(game.FilePath);
    if (CControlUI* name = find("St_GameName")) {
        const QString title = QString::fromStdU16String(game.GameName);
        name->SetText(title.isEmpty() ? QString::fromStdString(game.FileName) : title);
        name->SetToolTip(path);
    }
    if (CControlUI* system = find("Lb_EmuType"))
        system->SetText(QString::fromStdString(SystemLabel(game.EmulatorId)));
    if (CControlUI* size = find("Lb_Size"))
        size->SetText(QString::fromStdString(SizeLabel(game.Size)));
    if (CControlUI* icon = find("Gi_Icon")) {
        const std::string picture = LocalGameIcon(game);
        icon->SetBkImage(QString::fromStdString(picture.empty() ? "skin\\ui\\DefaultGameIcon.png" : picture));
    }
}

} // namespace ravelo
