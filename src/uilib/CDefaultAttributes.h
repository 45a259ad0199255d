#pragma once

#include <QHash>
#include <QString>

namespace UiLib {

/// The attribute lists a layout's Default tags give per control tag ("Button", "VScrollBar"); the
/// builder applies them before a control's own attributes. UI thread only.
class CDefaultAttributes
{
public:
    void Add(const QString& controlName, const QString& list) { m_lists.insert(controlName, list); }
    /// The list for a tag, empty when there is none.
    QString Get(const QString& controlName) const { return m_lists.value(controlName); }

private:
    QHash<QString, QString> m_lists;
};

} // namespace UiLib
