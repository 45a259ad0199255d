#pragma once

#include <QWidget>

namespace UiLib {

class CComboUI;

/// The pop-up list of a combo: paints the combo's items one under the other and picks one on a
/// click or Enter; closes on Escape or a click elsewhere.
class CComboWnd : public QWidget
{
public:
    CComboWnd(CComboUI* owner, QWidget* parent);
    ~CComboWnd() override;

    /// Detaches from a combo that is being destroyed.
    void ForgetOwner() { m_owner = nullptr; }
    int HotIndex() const { return m_hot; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    int ItemHeight(int index) const;
    int ContentHeight() const;
    int IndexAt(QPoint point) const;
    void SetHot(int index);
    void Choose(int index);

    CComboUI* m_owner;
    int m_hot = -1;
    int m_scroll = 0;
};

} // namespace UiLib
