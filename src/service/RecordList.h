#pragma once

#include <cstddef>
#include <list>
#include <memory>
#include <utility>
#include <vector>

namespace ravelo {

class CJsonObjectBase;

/// What the decoder needs from a list of child records: a way to hand it a new child.
class RecordListBase
{
public:
    virtual ~RecordListBase() = default;
    /// Takes ownership of child; a child of the wrong class is destroyed and not appended.
    virtual void Append(std::unique_ptr<CJsonObjectBase> child) = 0;
};

/// A list field whose elements are child records of class T, owned by the list (and so by the record
/// that holds it). Container is std::vector for a vector field or std::list for a linked-list field.
template <typename T, template <typename...> class Container>
class RecordList final : public RecordListBase
{
public:
    using Storage = Container<std::unique_ptr<T>>;

    RecordList() = default;
    RecordList(const RecordList&) = delete;
    RecordList& operator=(const RecordList&) = delete;

    void Append(std::unique_ptr<CJsonObjectBase> child) override
    {
        if (auto* typed = dynamic_cast<T*>(child.get())) {
            child.release();
            m_items.emplace_back(typed);
        }
    }

    std::size_t size() const { return m_items.size(); }
    bool empty() const { return m_items.empty(); }
    typename Storage::const_iterator begin() const { return m_items.begin(); }
    typename Storage::const_iterator end() const { return m_items.end(); }
    const T& front() const { return *m_items.front(); }
    const T& back() const { return *m_items.back(); }
    /// Vector fields only.
    const T& operator[](std::size_t index) const { return *m_items[index]; }
    T& operator[](std::size_t index) { return *m_items[index]; }
    /// Hands the children over, leaving the list empty.
    Storage TakeAll() { return std::exchange(m_items, Storage()); }

private:
    Storage m_items;
};

template <typename T>
using RecordVector = RecordList<T, std::vector>;

template <typename T>
using RecordLinkedList = RecordList<T, std::list>;

} // namespace ravelo
