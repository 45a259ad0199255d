#pragma once

#include "uilib/UiDefines.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <vector>

namespace UiLib {

class CControlUI;
class CPaintManagerUI;

/// Builds a control tree from an XML layout in the layouts' vocabulary. The Window tag sets the
/// window's size, caption zone, resize border, limits, shadow and font table on the manager; Font,
/// Default and Image declare fonts, per-class default attributes and preloaded pictures; Include
/// builds another layout in place ("source", "count"). Every other tag is a control: the callback
/// is asked first, then the library's classes; an unknown tag becomes a plain container so its
/// children still show. Attributes reach the control in document order after its children were
/// built. UI thread only.
class CDialogBuilder
{
public:
    /// Builds a layout file ("skin\xmls\X.xml", a resource or a file path). Returns the root control
    /// (owned by the caller, or by parent when given), or null with GetLastError() set.
    CControlUI* Create(const QString& layout, IDialogBuilderCallback* callback = nullptr,
                       CPaintManagerUI* manager = nullptr, CControlUI* parent = nullptr);
    /// Builds from XML text.
    CControlUI* CreateFromText(const QString& xml, IDialogBuilderCallback* callback = nullptr,
                               CPaintManagerUI* manager = nullptr, CControlUI* parent = nullptr);
    QString GetLastError() const { return m_error; }

    /// A new control of the library for a tag, or null when the tag is not the library's.
    static CControlUI* CreateBuiltinControl(const QString& tag);

private:
    struct Node
    {
        QString tag;
        QList<QPair<QString, QString>> attributes;
        std::vector<Node> children;
        QString Attribute(const QString& name) const;
    };

    bool ParseXml(const QByteArray& data, const QString& source, Node& root);
    CControlUI* Build(const Node& root, CControlUI* parent);
    void ApplyWindow(const Node& window);
    void ApplyDeclaration(const Node& node);
    CControlUI* BuildControls(const std::vector<const Node*>& nodes, CControlUI* parent);
    CControlUI* BuildInclude(const QString& source, CControlUI* parent);
    CControlUI* Fail(const QString& message);

    IDialogBuilderCallback* m_callback = nullptr;
    CPaintManagerUI* m_manager = nullptr;
    QString m_error;
    int m_depth = 0;
    int m_nextFontId = 0;
};

} // namespace UiLib
