// The packed texts of one node. Internal to treelist/: nodes keep one, the list reads and
// writes it.
#pragma once

#include <cstddef>
#include <string_view>

namespace dxtl {

// The texts of one node: usually one to three short ones. They share one buffer, kept inside
// the object while it fits (a node with one short caption needs no allocation) and on the heap
// beyond that. Buffer: the entry count, then each entry's length and bytes; counts and lengths
// are 7-bit variable-length integers.
class TdxNodeStrings {
public:
    TdxNodeStrings() noexcept;
    ~TdxNodeStrings();
    TdxNodeStrings(const TdxNodeStrings&) = delete;
    TdxNodeStrings& operator=(const TdxNodeStrings&) = delete;

    int Count() const;
    // Entry `index` (>= 0); empty text past the last entry.
    std::string_view Get(int index) const;
    // Replaces entry `index` (>= 0), appending empty entries up to it first.
    void Set(int index, std::string_view text);
    // Removes entry `index`; later entries move down. Nothing past the last entry.
    void Delete(int index);
    // Moves entry `from` to index `to`; the entries between shift by one. When either lies
    // past the last entry, empty entries are appended up to it first, and they stay.
    void Move(int from, int to);
    void Clear();

private:
    static constexpr std::size_t kInlineBytes = 15;
    static constexpr unsigned char kHeapTag = 0xFF;

    struct TView {
        const unsigned char* Data;
        std::size_t Size;
    };
    TView Content() const;
    bool OnHeap() const { return FRaw[kInlineBytes] == kHeapTag; }
    unsigned char* HeapBlock() const;
    std::size_t HeapCapacity() const;
    void SetHeapSize(std::size_t size);
    // Makes `bytes` the content, reusing or releasing the current buffer.
    void Assign(const unsigned char* bytes, std::size_t size, std::size_t capacityHint);

    // Inline: bytes 0..14 hold the content and byte 15 its length. On the heap: byte 15 is
    // kHeapTag and the first bytes hold the block's address; the block starts with its size
    // and capacity (32 bits each).
    unsigned char FRaw[kInlineBytes + 1];
};

} // namespace dxtl
