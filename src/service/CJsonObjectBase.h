#pragma once

#include "service/RecordList.h"

#include <cstdint>
#include <json/value.h>
#include <list>
#include <memory>
#include <string>
#include <vector>

namespace ravelo {

/// Type codes of declared fields, as the web-API records use them.
enum FieldType : int
{
    kFieldBool = 1,
    kFieldInt32 = 2,
    kFieldUInt32 = 3,
    kFieldString = 4, // narrow text in the OEM code page (UTF-8 here)
    kFieldInt64 = 5,
    kFieldUInt64 = 6,
    kFieldRecord = 7,
    kFieldReserved = 8,
    kFieldVector = 9,
    kFieldLinkedList = 10,
    kFieldFloat = 11,
    kFieldWideString = 12,
};

/// Base of every record filled from a web-API answer. A record declares its fields once (key, type,
/// storage) in DeclareFields and is then filled from JSON text in one call. Lists are only ever
/// appended to, so a record is decoded once, right after construction. Child records in list fields
/// belong to the record. Copying a record copies its values; each copy keeps its own declarations.
class CJsonObjectBase
{
public:
    struct Field
    {
        std::string name;
        void* address = nullptr;
        int type = 0;
        int elementType = kFieldInt32; // 2 when the field is not a list
    };

    virtual ~CJsonObjectBase() = default;

    /// Any thread (the one that owns the record). Parses UTF-8 JSON text and decodes it. Returns false,
    /// leaving the record untouched, when the text is not JSON. Raises Json::Exception or
    /// TextConversionError when a value cannot be converted to its field's type; the record is then
    /// partly filled and the caller discards it.
    bool Decode(const std::string& text);
    /// The same for a C string (which would otherwise convert to either overload).
    bool Decode(const char* text) { return Decode(std::string(text ? text : "")); }

    /// Decodes every declared field from an already parsed value, in declaration order. Missing keys
    /// store zero values. Returns true; raises as above.
    bool Decode(const Json::Value& root);

    /// Value of a list field when encoding; records that encode override it. The base gives "".
    virtual Json::Value EncodeListField(std::size_t fieldIndex) const;

    /// A new, empty child record for one element of the object list under key, or null when the
    /// record has no such list (the element is then skipped).
    virtual std::unique_ptr<CJsonObjectBase> CreateListElement(const std::string& key);

    /// The declarations, in declaration order.
    const std::vector<Field>& Fields();

protected:
    CJsonObjectBase() = default;
    CJsonObjectBase(const CJsonObjectBase&) {}
    CJsonObjectBase& operator=(const CJsonObjectBase&) { return *this; }

    /// Declares the record's fields with AddField; a derived record declares its base's fields first.
    /// Runs once per object, before its first decode.
    virtual void DeclareFields() = 0;

    void AddField(std::string key, bool* field) { AddField(std::move(key), kFieldBool, field); }
    void AddField(std::string key, std::int32_t* field) { AddField(std::move(key), kFieldInt32, field); }
    void AddField(std::string key, std::uint32_t* field) { AddField(std::move(key), kFieldUInt32, field); }
    void AddField(std::string key, std::string* field) { AddField(std::move(key), kFieldString, field); }
    void AddField(std::string key, std::int64_t* field) { AddField(std::move(key), kFieldInt64, field); }
    void AddField(std::string key, std::uint64_t* field) { AddField(std::move(key), kFieldUInt64, field); }
    void AddField(std::string key, CJsonObjectBase* record)
    {
        AddField(std::move(key), kFieldRecord, record);
    }
    void AddField(std::string key, float* field) { AddField(std::move(key), kFieldFloat, field); }
    void AddField(std::string key, std::u16string* field)
    {
        AddField(std::move(key), kFieldWideString, field);
    }

    void AddField(std::string key, std::vector<std::int32_t>* list)
    {
        AddList(key, kFieldVector, list, kFieldInt32);
    }
    void AddField(std::string key, std::vector<std::uint32_t>* list)
    {
        AddList(key, kFieldVector, list, kFieldUInt32);
    }
    void AddField(std::string key, std::vector<std::string>* list)
    {
        AddList(key, kFieldVector, list, kFieldString);
    }
    void AddField(std::string key, std::vector<std::int64_t>* list)
    {
        AddList(key, kFieldVector, list, kFieldInt64);
    }
    void AddField(std::string key, std::vector<std::uint64_t>* list)
    {
        AddList(key, kFieldVector, list, kFieldUInt64);
    }
    void AddField(std::string key, std::list<bool>* list)
    {
        AddList(key, kFieldLinkedList, list, kFieldBool);
    }
    void AddField(std::string key, std::list<std::int32_t>* list)
    {
        AddList(key, kFieldLinkedList, list, kFieldInt32);
    }
    void AddField(std::string key, std::list<std::uint32_t>* list)
    {
        AddList(key, kFieldLinkedList, list, kFieldUInt32);
    }
    void AddField(std::string key, std::list<std::string>* list)
    {
        AddList(key, kFieldLinkedList, list, kFieldString);
    }
    void AddField(std::string key, std::list<std::int64_t>* list)
    {
        AddList(key, kFieldLinkedList, list, kFieldInt64);
    }
    void AddField(std::string key, std::list<std::uint64_t>* list)
    {
        AddList(key, kFieldLinkedList, list, kFieldUInt64);
    }

    template <typename T>
    void AddField(std::string key, RecordVector<T>* list)
    {
        AddField(std::move(key), kFieldVector, static_cast<RecordListBase*>(list), kFieldRecord);
    }
    template <typename T>
    void AddField(std::string key, RecordLinkedList<T>* list)
    {
        AddField(std::move(key), kFieldLinkedList, static_cast<RecordListBase*>(list), kFieldRecord);
    }

private:
    /// Appends one declaration. The typed overloads above are the only callers, so that the address
    /// always has the storage the type code names.
    void AddField(std::string key, int type, void* address, int elementType = kFieldInt32);
    void AddList(const std::string& key, int type, void* address, int elementType)
    {
        AddField(key, type, address, elementType);
    }
    void EnsureDeclared();
    void DecodeField(const Json::Value& root, const Field& field);
    void AppendElement(const Field& field, const Json::Value& element);

    std::vector<Field> m_fields;
    bool m_declared = false;
};

} // namespace ravelo
