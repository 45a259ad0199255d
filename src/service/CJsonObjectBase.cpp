#include "service/CJsonObjectBase.h"

#include "platform/DebugOutput.h"
#include "platform/TextConvert.h"

#include <json/reader.h>

namespace ravelo {
namespace {

std::string ToOemText(const Json::Value& value)
{
    return Utf16ToOem(Utf8ToUtf16(value.asString()));
}

template <template <typename...> class Container>
void AppendScalar(void* address, int elementType, const Json::Value& element)
{
    switch (elementType) {
    case kFieldBool:
        static_cast<Container<bool>*>(address)->push_back(element.asBool());
        break;
    case kFieldInt32:
        static_cast<Container<std::int32_t>*>(address)->push_back(element.asInt());
        break;
    case kFieldUInt32:
        static_cast<Container<std::uint32_t>*>(address)->push_back(element.asUInt());
        break;
    case kFieldString:
        static_cast<Container<std::string>*>(address)->push_back(ToOemText(element));
        break;
    case kFieldInt64:
        static_cast<Container<std::int64_t>*>(address)->push_back(element.asInt64());
        break;
    case kFieldUInt64:
        static_cast<Container<std::uint64_t>*>(address)->push_back(element.asUInt64());
        break;
    default:
        break;
    }
}

} // namespace

bool CJsonObjectBase::Decode(const std::string& text)
{
    Json::CharReaderBuilder builder;
    builder["collectComments"] = false;
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value root;
    std::string errors;
    if (!reader->parse(text.data(), text.data() + text.size(), &root, &errors)) {
        DebugOutput("JSON parse error: " + errors);
        return false;
    }
    return Decode(root);
}

bool CJsonObjectBase::Decode(const Json::Value& root)
{
    EnsureDeclared();
    for (const Field& field : m_fields)
        DecodeField(root, field);
    return true;
}

Json::Value CJsonObjectBase::EncodeListField(std::size_t) const
{
    return Json::Value("");
}

std::unique_ptr<CJsonObjectBase> CJsonObjectBase::CreateListElement(const std::string&)
{
    return nullptr;
}

const std::vector<CJsonObjectBase::Field>& CJsonObjectBase::Fields()
{
    EnsureDeclared();
    return m_fields;
}

void CJsonObjectBase::AddField(std::string key, int type, void* address, int elementType)
{
    m_fields.push_back(Field{std::move(key), address, type, elementType});
}

void CJsonObjectBase::EnsureDeclared()
{
    // Declared on first use rather than in the constructor: a constructor cannot reach the most
    // derived DeclareFields, and every level would otherwise declare its base's fields again.
    if (m_declared)
        return;
    m_declared = true;
    DeclareFields();
}

void CJsonObjectBase::DecodeField(const Json::Value& root, const Field& field)
{
    const std::string& key = field.name;
    switch (field.type) {
    case kFieldBool:
        *static_cast<bool*>(field.address) = root.get(key, Json::Value(0)).asBool();
        break;
    case kFieldInt32:
        *static_cast<std::int32_t*>(field.address) = root.get(key, Json::Value(0)).asInt();
        break;
    case kFieldUInt32:
        *static_cast<std::uint32_t*>(field.address) = root.get(key, Json::Value(0)).asUInt();
        break;
    case kFieldString:
        *static_cast<std::string*>(field.address) = ToOemText(root.get(key, Json::Value("")));
        break;
    case kFieldInt64:
        *static_cast<std::int64_t*>(field.address) = root.get(key, Json::Value(0)).asInt64();
        break;
    case kFieldUInt64:
        *static_cast<std::uint64_t*>(field.address) = root.get(key, Json::Value(0)).asUInt64();
        break;
    case kFieldFloat:
        *static_cast<float*>(field.address) = root.get(key, Json::Value(0.0)).asFloat();
        break;
    case kFieldWideString:
        *static_cast<std::u16string*>(field.address) = Utf8ToUtf16(root.get(key, Json::Value("")).asString());
        break;
    case kFieldRecord: {
        const Json::Value& sub = root.isNull() ? root : root[key];
        if (!sub.isNull())
            static_cast<CJsonObjectBase*>(field.address)->Decode(sub);
        break;
    }
    case kFieldVector:
    case kFieldLinkedList: {
        if (root.isNull() || !root.isMember(key))
            return;
        const Json::Value& list = root[key];
        if (list.isNull() || !list.isArray())
            return;
        for (const Json::Value& element : list)
            AppendElement(field, element);
        break;
    }
    default:
        break; // reserved and unknown codes are skipped
    }
}

void CJsonObjectBase::AppendElement(const Field& field, const Json::Value& element)
{
    if (field.elementType == kFieldRecord) {
        std::unique_ptr<CJsonObjectBase> child = CreateListElement(field.name);
        if (!child)
            return;
        child->Decode(element);
        static_cast<RecordListBase*>(field.address)->Append(std::move(child));
        return;
    }
    if (field.type == kFieldVector) {
        if (field.elementType != kFieldBool) // a vector of flags is not a declarable field
            AppendScalar<std::vector>(field.address, field.elementType, element);
    } else {
        AppendScalar<std::list>(field.address, field.elementType, element);
    }
}

} // namespace ravelo
