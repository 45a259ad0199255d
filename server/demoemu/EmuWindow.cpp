#include "EmuWindow.h"

#include "EmuSession.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>
#include <SDL_gamecontroller.h>

#include <algorithm>

namespace ravelo::demoemu {

namespace {

QString Text(const std::string& utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QLabel* MakeLabel(const QString& text, const char* role, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(role);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

constexpr char kStyle[] = R"(
QWidget#panel { background: #1b1f27; }
QLabel { color: #d7dce5; font-size: 14px; }
QLabel#emulator { color: #7f8a9c; font-size: 13px; }
QLabel#badge { color: #1b1f27; background: #f0b429; border-radius: 4px; padding: 2px 10px;
               font-size: 13px; font-weight: bold; }
QLabel#game { color: #ffffff; font-size: 30px; font-weight: bold; }
QLabel#file { color: #7f8a9c; font-size: 12px; }
QLabel#name { color: #7f8a9c; }
QLabel#hint { color: #1b1f27; background: #5ccfe6; border-radius: 6px; padding: 6px 12px;
              font-size: 14px; font-weight: bold; }
QFrame#rule { background: #2c3340; max-height: 1px; min-height: 1px; }
)";

} // namespace

EmuWindow::EmuWindow(const EmuSession& session) : m_session(session)
{
    const EmuManifest& manifest = session.Manifest();
    const KeyFileSummary& keys = session.Keys();
    setWindowTitle(Text(manifest.title));
    setObjectName("panel");
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(kStyle);
    setFixedSize(640, 400);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(28, 22, 28, 22);
    layout->setSpacing(8);

    auto* top = new QHBoxLayout;
    top->addWidget(MakeLabel(Text(manifest.title), "emulator", this), 1);
    if (!manifest.system.empty())
        top->addWidget(MakeLabel(Text(manifest.system), "badge", this), 0, Qt::AlignRight);
    layout->addLayout(top);

    const bool hasGame = !session.GamePath().empty();
    layout->addWidget(MakeLabel(hasGame ? Text(session.GameName()) : QString("未载入游戏"), "game", this));
    if (hasGame)
        layout->addWidget(MakeLabel(Text(session.GamePath()), "file", this));
    auto* rule = new QFrame(this);
    rule->setObjectName("rule");
    layout->addWidget(rule);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(18);
    grid->setVerticalSpacing(6);
    int row = 0;
    auto addRow = [&](const QString& name, QLabel* value) {
        grid->addWidget(MakeLabel(name, "name", this), row, 0, Qt::AlignTop);
        grid->addWidget(value, row++, 1);
    };
    addRow("机种", MakeLabel(manifest.system.empty() ? QString("—") : Text(manifest.system), "value", this));
    addRow("输入方式",
           MakeLabel(keys.found ? Text(keys.InputKindText()) : QString("未找到按键文件"), "value", this));
    // Buttons in the order of a pad, whatever order the file keeps them in.
    static const std::vector<std::string> order{"Up", "Down", "Left", "Right", "A", "B", "Select", "Start"};
    auto rank = [](const std::string& button) {
        return std::find(order.begin(), order.end(), button) - order.begin();
    };
    auto sorted = keys.keys;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [&rank](const auto& a, const auto& b) { return rank(a.first) < rank(b.first); });
    QStringList bindings;
    for (const auto& [button, key] : sorted)
        bindings << Text(button) + QChar(0x00A0) + "→" + QChar(0x00A0) + Text(key);
    addRow("按键", MakeLabel(bindings.isEmpty() ? QString("—") : bindings.join("   "), "value", this));
    m_pads = MakeLabel(QString(), "value", this);
    addRow("手柄", m_pads);
    addRow("启动次数", MakeLabel(QString::number(session.Launches() + 1), "value", this));
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addWidget(MakeLabel("按 Esc 或 手柄 Start+Back 退出", "hint", this), 0, Qt::AlignLeft);
    ShowPads();
}

void EmuWindow::SetAttachedPads(std::vector<AttachedPad> pads)
{
    m_attached = std::move(pads);
    for (auto it = m_pressed.begin(); it != m_pressed.end();) {
        const bool present = std::any_of(m_attached.begin(), m_attached.end(), [&it](const AttachedPad& pad) {
            return pad.instanceId == it->first;
        });
        it = present ? std::next(it) : m_pressed.erase(it);
    }
    ShowPads();
}

void EmuWindow::OnPadButton(int instanceId, int button, bool pressed)
{
    std::set<int>& held = m_pressed[instanceId];
    if (pressed)
        held.insert(button);
    else
        held.erase(button);
    if (held.count(SDL_CONTROLLER_BUTTON_START) && held.count(SDL_CONTROLLER_BUTTON_BACK))
        close();
}

void EmuWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void EmuWindow::ShowPads()
{
    QStringList lines;
    for (const BoundPad& bound : m_session.Keys().pads) {
        const AttachedPad* match = nullptr;
        for (std::size_t i = 0; i < m_attached.size() && !match; ++i) {
            const bool byGuid = bound.hasGuid && m_attached[i].guid == bound.guid;
            const bool byIndex = bound.padIndex >= 0 && static_cast<std::size_t>(bound.padIndex) == i;
            if (byGuid || byIndex)
                match = &m_attached[i];
        }
        lines << QString("玩家 %1: %2  %3")
                     .arg(bound.player)
                     .arg(Text(bound.identity))
                     .arg(match ? "（" + Text(match->name) + "）" : QString("（未连接）"));
    }
    if (lines.isEmpty())
        lines << "按键文件未绑定手柄";
    lines << QString("已连接 %1 个手柄").arg(m_attached.size());
    m_pads->setText(lines.join('\n'));
}

} // namespace ravelo::demoemu
