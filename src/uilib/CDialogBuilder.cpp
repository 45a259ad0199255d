#include "uilib/CDialogBuilder.h"

#include "uilib/CAnimationTabLayoutUI.h"
#include "uilib/CButtonUI.h"
#include "uilib/CComboUI.h"
#include "uilib/CContainerUI.h"
#include "uilib/CControlUI.h"
#include "uilib/CEditUI.h"
#include "uilib/CHorizontalLayoutUI.h"
#include "uilib/CLabelUI.h"
#include "uilib/CListContainerElementUI.h"
#include "uilib/CListLabelElementUI.h"
#include "uilib/CListUI.h"
#include "uilib/CMenuElementUI.h"
#include "uilib/CMenuUI.h"
#include "uilib/COptionUI.h"
#include "uilib/CPaintManagerUI.h"
#include "uilib/CProgressUI.h"
#include "uilib/CRichEditUI.h"
#include "uilib/CScrollBarUI.h"
#include "uilib/CSliderUI.h"
#include "uilib/CTabLayoutUI.h"
#include "uilib/CTextUI.h"
#include "uilib/CTileLayoutUI.h"
#include "uilib/CTreeNodeUI.h"
#include "uilib/CTreeViewUI.h"
#include "uilib/CVerticalLayoutUI.h"
#include "uilib/SkinResources.h"
#include "uilib/UiParse.h"

#include "platform/DebugOutput.h"
#include "platform/Translate.h"

#include <QXmlStreamReader>

#include <QHash>

#include <functional>

namespace UiLib {

namespace {

constexpr int kMaxIncludeDepth = 16;
constexpr int kMaxIncludeCount = 100;
constexpr int kMaxElementDepth = 256;

bool IsDeclaration(const QString& tag)
{
    return tag == QLatin1String("Font") || tag == QLatin1String("Default") || tag == QLatin1String("Image");
}

// The attributes that hold words a person reads; po/ravelo-layout.its extracts the same ones into the
// message catalogue.
bool IsReadableText(const QString& name)
{
    static const QLatin1String kNames[] = {
        QLatin1String("text"),     QLatin1String("tooltip"),   QLatin1String("prompttext"),
        QLatin1String("tipvalue"), QLatin1String("emptytext"), QLatin1String("emptysubtext"),
        QLatin1String("title"),
    };
    for (const QLatin1String& readable : kNames)
        if (name == readable)
            return true;
    return false;
}

// The catalogue holds a layout text with its runs of white space made one space and the ends
// trimmed; only ASCII white space counts, as the extraction sees it.
QByteArray CatalogueKey(const QString& value)
{
    const QByteArray utf8 = value.toUtf8();
    QByteArray key;
    key.reserve(utf8.size());
    bool space = false;
    for (const char c : utf8) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            space = !key.isEmpty();
            continue;
        }
        if (space)
            key.append(' ');
        space = false;
        key.append(c);
    }
    return key;
}

// A word with two meanings in the layouts ("提示": a notice, or "show" beside "隐藏") carries a
// textcontext attribute, looked up the way gettext's msgctxt is stored: context, EOT, text.
QString Translated(const QString& name, const QString& value, const QString& context = {})
{
    if (value.isEmpty() || !IsReadableText(name))
        return value;
    QByteArray key = CatalogueKey(value);
    if (!context.isEmpty())
        key = context.toUtf8() + '\004' + key;
    const char* translation = ravelo::Tr(key.constData());
    // Untranslated, the text keeps its own spacing.
    if (key == translation)
        return value;
    return QString::fromUtf8(translation);
}

} // namespace

QString CDialogBuilder::Node::Attribute(const QString& name) const
{
    for (const auto& [key, value] : attributes) {
        if (key == name)
            return value;
    }
    return {};
}

CControlUI* CDialogBuilder::CreateBuiltinControl(const QString& tag)
{
    using Factory = std::function<CControlUI*()>;
    static const QHash<QString, Factory> factories = {
        {QStringLiteral("Control"), [] { return new CControlUI; }},
        {QStringLiteral("Container"), [] { return new CContainerUI; }},
        {QStringLiteral("VerticalLayout"), [] { return new CVerticalLayoutUI; }},
        {QStringLiteral("HorizontalLayout"), [] { return new CHorizontalLayoutUI; }},
        {QStringLiteral("TileLayout"), [] { return new CTileLayoutUI; }},
        {QStringLiteral("TabLayout"), [] { return new CTabLayoutUI; }},
        {QStringLiteral("AnimationTabLayout"), [] { return new CAnimationTabLayoutUI; }},
        {QStringLiteral("Label"), [] { return new CLabelUI; }},
        {QStringLiteral("Text"), [] { return new CTextUI; }},
        {QStringLiteral("Button"), [] { return new CButtonUI; }},
        {QStringLiteral("Option"), [] { return new COptionUI; }},
        {QStringLiteral("CheckBox"), [] { return new COptionUI; }},
        {QStringLiteral("Edit"), [] { return new CEditUI; }},
        {QStringLiteral("RichEdit"), [] { return new CRichEditUI; }},
        {QStringLiteral("Progress"), [] { return new CProgressUI; }},
        {QStringLiteral("Slider"), [] { return new CSliderUI; }},
        {QStringLiteral("List"), [] { return new CListUI; }},
        {QStringLiteral("ListContainerElement"), [] { return new CListContainerElementUI; }},
        {QStringLiteral("ListLabelElement"), [] { return new CListLabelElementUI; }},
        {QStringLiteral("TreeView"), [] { return new CTreeViewUI; }},
        {QStringLiteral("TreeNode"), [] { return new CTreeNodeUI; }},
        {QStringLiteral("Combo"), [] { return new CComboUI; }},
        {QStringLiteral("ScrollBar"), [] { return new CScrollBarUI; }},
        {QStringLiteral("Menu"), [] { return new CMenuUI; }},
        {QStringLiteral("MenuElement"), [] { return new CMenuElementUI; }},
    };
    const auto it = factories.constFind(tag);
    return it == factories.constEnd() ? nullptr : it.value()();
}

CControlUI* CDialogBuilder::Fail(const QString& message)
{
    m_error = message;
    ravelo::DebugOutput("layout: " + message.toStdString());
    return nullptr;
}

CControlUI* CDialogBuilder::Create(const QString& layout, IDialogBuilderCallback* callback,
                                   CPaintManagerUI* manager, CControlUI* parent)
{
    QByteArray data;
    if (!Skin::ReadAll(layout, data))
        return Fail(QStringLiteral("%1: no such layout").arg(layout));
    m_callback = callback;
    m_manager = manager;
    m_error.clear();
    Node root;
    if (!ParseXml(data, layout, root))
        return nullptr;
    return Build(root, parent);
}

CControlUI* CDialogBuilder::CreateFromText(const QString& xml, IDialogBuilderCallback* callback,
                                           CPaintManagerUI* manager, CControlUI* parent)
{
    m_callback = callback;
    m_manager = manager;
    m_error.clear();
    Node root;
    if (!ParseXml(xml.toUtf8(), QStringLiteral("<text>"), root))
        return nullptr;
    return Build(root, parent);
}

bool CDialogBuilder::ParseXml(const QByteArray& data, const QString& source, Node& root)
{
    QXmlStreamReader reader(data);
    std::vector<Node*> stack;
    bool haveRoot = false;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::StartElement) {
            Node* node = nullptr;
            if (stack.empty()) {
                if (haveRoot)
                    break;
                haveRoot = true;
                node = &root;
            } else {
                if (stack.size() >= kMaxElementDepth) {
                    Fail(QStringLiteral("%1: elements nested too deeply").arg(source));
                    return false;
                }
                stack.back()->children.emplace_back();
                node = &stack.back()->children.back();
            }
            node->tag = reader.name().toString();
            for (const QXmlStreamAttribute& attribute : reader.attributes())
                node->attributes.append({attribute.name().toString(), attribute.value().toString()});
            stack.push_back(node);
        } else if (token == QXmlStreamReader::EndElement) {
            if (!stack.empty())
                stack.pop_back();
        }
    }
    if (reader.hasError()) {
        Fail(QStringLiteral("%1 line %2 column %3: %4")
                 .arg(source)
                 .arg(reader.lineNumber())
                 .arg(reader.columnNumber())
                 .arg(reader.errorString()));
        return false;
    }
    if (!haveRoot) {
        Fail(QStringLiteral("%1: no root element").arg(source));
        return false;
    }
    return true;
}

void CDialogBuilder::ApplyWindow(const Node& window)
{
    if (!m_manager)
        return;
    for (const auto& [name, value] : window.attributes) {
        if (name == QLatin1String("size"))
            m_manager->SetInitSize(Parse::Size(value));
        else if (name == QLatin1String("sizebox"))
            m_manager->SetSizeBox(Parse::Margins(value));
        else if (name == QLatin1String("caption"))
            m_manager->SetCaptionRect(Parse::Margins(value));
        else if (name == QLatin1String("roundcorner"))
            m_manager->SetRoundCorner(Parse::Size(value));
        else if (name == QLatin1String("mininfo"))
            m_manager->SetMinInfo(Parse::Size(value));
        else if (name == QLatin1String("maxinfo"))
            m_manager->SetMaxInfo(Parse::Size(value));
        else if (name == QLatin1String("showshadow"))
            m_manager->SetShowShadow(Parse::Bool(value));
        else if (name == QLatin1String("shadowsize"))
            m_manager->SetShadowSize(Parse::Int(value));
        else if (name == QLatin1String("shadowcolor"))
            m_manager->SetShadowColor(Parse::Color(value));
        else if (name == QLatin1String("defaultfontcolor"))
            m_manager->SetDefaultFontColor(Parse::Color(value));
        else if (name == QLatin1String("disabledfontcolor"))
            m_manager->SetDefaultDisabledColor(Parse::Color(value));
        else if (name == QLatin1String("linkfontcolor"))
            m_manager->SetDefaultLinkFontColor(Parse::Color(value));
        else if (name == QLatin1String("linkhoverfontcolor"))
            m_manager->SetDefaultLinkHoverFontColor(Parse::Color(value));
        else if (name == QLatin1String("selectedcolor"))
            m_manager->SetDefaultSelectedBkColor(Parse::Color(value));
    }
}

void CDialogBuilder::ApplyDeclaration(const Node& node)
{
    if (!m_manager)
        return;
    if (node.tag == QLatin1String("Font")) {
        const QString idText = node.Attribute(QStringLiteral("id"));
        const int id = idText.isEmpty() ? m_nextFontId : Parse::Int(idText);
        m_nextFontId = qMax(m_nextFontId, id + 1);
        m_manager->AddFont(id, node.Attribute(QStringLiteral("name")),
                           Parse::Int(node.Attribute(QStringLiteral("size"))),
                           Parse::Bool(node.Attribute(QStringLiteral("bold"))),
                           Parse::Bool(node.Attribute(QStringLiteral("underline"))),
                           Parse::Bool(node.Attribute(QStringLiteral("italic"))),
                           Parse::Bool(node.Attribute(QStringLiteral("default"))));
    } else if (node.tag == QLatin1String("Default")) {
        m_manager->AddDefaultAttributeList(node.Attribute(QStringLiteral("name")),
                                           node.Attribute(QStringLiteral("value")));
    } else if (node.tag == QLatin1String("Image")) {
        m_manager->AddImage(node.Attribute(QStringLiteral("name")));
    }
}

CControlUI* CDialogBuilder::Build(const Node& root, CControlUI* parent)
{
    std::vector<const Node*> controls;
    if (root.tag == QLatin1String("Window")) {
        ApplyWindow(root);
        for (const Node& child : root.children) {
            if (IsDeclaration(child.tag))
                ApplyDeclaration(child);
            else
                controls.push_back(&child);
        }
    } else {
        controls.push_back(&root);
    }
    return BuildControls(controls, parent);
}

CControlUI* CDialogBuilder::BuildInclude(const QString& source, CControlUI* parent)
{
    if (m_depth >= kMaxIncludeDepth)
        return Fail(QStringLiteral("%1: includes nested too deeply (a loop?)").arg(source));
    QByteArray data;
    if (!Skin::ReadAll(source, data))
        return Fail(QStringLiteral("%1: no such layout to include").arg(source));
    Node root;
    if (!ParseXml(data, source, root))
        return nullptr;
    ++m_depth;
    CControlUI* built = Build(root, parent);
    --m_depth;
    return built;
}

CControlUI* CDialogBuilder::BuildControls(const std::vector<const Node*>& nodes, CControlUI* parent)
{
    CControlUI* first = nullptr;
    auto* container = ControlAs<CContainerUI>(parent);
    for (const Node* node : nodes) {
        if (IsDeclaration(node->tag) || node->tag == QLatin1String("Window"))
            continue;
        if (node->tag == QLatin1String("Include")) {
            const int count =
                qBound(1, Parse::Int(node->Attribute(QStringLiteral("count")), 1), kMaxIncludeCount);
            for (int i = 0; i < count; ++i) {
                CControlUI* included = BuildInclude(node->Attribute(QStringLiteral("source")), parent);
                if (!first)
                    first = included;
            }
            continue;
        }
        CControlUI* control = m_callback ? m_callback->CreateControl(node->tag) : nullptr;
        if (!control)
            control = CreateBuiltinControl(node->tag);
        if (!control) {
            ravelo::DebugOutput("layout: unknown tag " + node->tag.toStdString() + " shown as a container");
            control = new CContainerUI;
        }
        if (!node->children.empty()) {
            std::vector<const Node*> children;
            for (const Node& child : node->children)
                children.push_back(&child);
            if (control->As<CContainerUI>())
                BuildControls(children, control);
            else
                ravelo::DebugOutput("layout: children of " + node->tag.toStdString() +
                                    " ignored (not a container)");
        }
        if (m_manager)
            control->SetManager(m_manager, parent, false);
        if (m_manager) {
            const QString defaults = m_manager->GetDefaultAttributeList(node->tag);
            if (!defaults.isEmpty())
                control->ApplyAttributeList(defaults);
        }
        QString context;
        for (const auto& [name, value] : node->attributes)
            if (name == QLatin1String("textcontext"))
                context = value;
        for (const auto& [name, value] : node->attributes)
            if (name != QLatin1String("textcontext"))
                control->SetAttribute(name, Translated(name, value, context));
        if (container) {
            if (!container->Add(control)) {
                delete control;
                continue;
            }
        } else if (parent) {
            ravelo::DebugOutput("layout: " + parent->GetClass().toStdString() + " holds no children");
            delete control;
            continue;
        } else if (first) {
            ravelo::DebugOutput("layout: a second root control " + node->tag.toStdString() + " is ignored");
            delete control;
            continue;
        }
        if (!first)
            first = control;
    }
    return first;
}

} // namespace UiLib
