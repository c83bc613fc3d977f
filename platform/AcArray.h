#pragma once
// The host's growable value array and MFC's CArray, both kept in a std::vector. Element access
// is unchecked as on the host (a debug build asserts); the library checks its indices itself.

#include <algorithm>
#include <cassert>
#include <initializer_list>
#include <vector>

template <typename T> class AcArray {
public:
    explicit AcArray(int physicalLength = 0, int growLength = 8) : m_growLength(growLength) {
        if (physicalLength > 0) m_data.reserve(static_cast<size_t>(physicalLength));
    }
    AcArray(std::initializer_list<T> items) : m_data(items) {}

    int length() const { return static_cast<int>(m_data.size()); }
    int logicalLength() const { return length(); }
    int physicalLength() const { return static_cast<int>(m_data.capacity()); }
    int growLength() const { return m_growLength; }
    bool isEmpty() const { return m_data.empty(); }

    // Appends and returns the new element's index.
    int append(const T& value) {
        m_data.push_back(value);
        return length() - 1;
    }
    AcArray& append(const AcArray& other) {
        m_data.insert(m_data.end(), other.m_data.begin(), other.m_data.end());
        return *this;
    }
    // Inserts before index; an index at or past the end appends.
    AcArray& insertAt(int index, const T& value) {
        const int at = std::clamp(index, 0, length());
        m_data.insert(m_data.begin() + at, value);
        return *this;
    }
    // Removes the element at index; an index outside the array changes nothing.
    AcArray& removeAt(int index) {
        if (index >= 0 && index < length()) m_data.erase(m_data.begin() + index);
        return *this;
    }
    AcArray& removeFirst() { return removeAt(0); }
    AcArray& removeLast() { return removeAt(length() - 1); }
    AcArray& removeAll() {
        m_data.clear();
        return *this;
    }
    AcArray& setLogicalLength(int n) {
        m_data.resize(static_cast<size_t>(std::max(n, 0)));
        return *this;
    }
    AcArray& setPhysicalLength(int n) {
        if (n > length()) m_data.reserve(static_cast<size_t>(n));
        return *this;
    }

    const T& at(int i) const { return (*this)[i]; }
    T& at(int i) { return (*this)[i]; }
    const T& operator[](int i) const {
        assert(i >= 0 && i < length());
        return m_data[static_cast<size_t>(i)];
    }
    T& operator[](int i) {
        assert(i >= 0 && i < length());
        return m_data[static_cast<size_t>(i)];
    }
    const T& first() const { return (*this)[0]; }
    T& first() { return (*this)[0]; }
    const T& last() const { return (*this)[length() - 1]; }
    T& last() { return (*this)[length() - 1]; }

    AcArray& reverse() {
        std::reverse(m_data.begin(), m_data.end());
        return *this;
    }
    // Membership and search use T's operator==, so points match within the global tolerance.
    bool contains(const T& value, int start = 0) const {
        int found = -1;
        return find(value, found, start);
    }
    bool find(const T& value, int& index, int start = 0) const {
        for (int i = std::max(start, 0); i < length(); ++i) {
            if (m_data[static_cast<size_t>(i)] == value) {
                index = i;
                return true;
            }
        }
        return false;
    }
    bool operator==(const AcArray& other) const {
        if (length() != other.length()) return false;
        for (int i = 0; i < length(); ++i)
            if (!(m_data[static_cast<size_t>(i)] == other.m_data[static_cast<size_t>(i)]))
                return false;
        return true;
    }
    bool operator!=(const AcArray& other) const { return !(*this == other); }

    const T* asArrayPtr() const { return m_data.data(); }
    T* asArrayPtr() { return m_data.data(); }
    typename std::vector<T>::const_iterator begin() const { return m_data.begin(); }
    typename std::vector<T>::const_iterator end() const { return m_data.end(); }
    typename std::vector<T>::iterator begin() { return m_data.begin(); }
    typename std::vector<T>::iterator end() { return m_data.end(); }

private:
    std::vector<T> m_data;
    int m_growLength = 8;
};

// MFC's ordered array; ARG is the argument type of the adding members.
template <typename T, typename ARG = const T&> class CArray {
public:
    int GetSize() const { return static_cast<int>(m_data.size()); }
    int GetCount() const { return GetSize(); }
    bool IsEmpty() const { return m_data.empty(); }
    int Add(ARG value) {
        m_data.push_back(value);
        return GetSize() - 1;
    }
    void InsertAt(int index, ARG value) {
        m_data.insert(m_data.begin() + std::clamp(index, 0, GetSize()), value);
    }
    // Removes count elements from index on, as far as they exist.
    void RemoveAt(int index, int count = 1) {
        if (index < 0 || index >= GetSize() || count <= 0) return;
        const int stop = std::min(GetSize(), index + count);
        m_data.erase(m_data.begin() + index, m_data.begin() + stop);
    }
    void RemoveAll() { m_data.clear(); }
    const T& GetAt(int i) const { return (*this)[i]; }
    T& ElementAt(int i) { return (*this)[i]; }
    void SetAt(int i, ARG value) { (*this)[i] = value; }
    const T& operator[](int i) const {
        assert(i >= 0 && i < GetSize());
        return m_data[static_cast<size_t>(i)];
    }
    T& operator[](int i) {
        assert(i >= 0 && i < GetSize());
        return m_data[static_cast<size_t>(i)];
    }

private:
    std::vector<T> m_data;
};
