// The packed texts of a node.
#include "treelist/dxTL.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace dxtl {

namespace {

constexpr std::size_t kHeapHeader = 8; // size and capacity, 32 bits each
// Sizes are kept in 32 bits; well beyond any text a list shows.
constexpr std::size_t kMaxContent = 0x7FFFFFF0u;

std::size_t VarintSize(std::size_t v) {
    std::size_t n = 1;
    while (v >= 0x80) {
        v >>= 7;
        ++n;
    }
    return n;
}

unsigned char* PutVarint(unsigned char* out, std::size_t v) {
    while (v >= 0x80) {
        *out++ = static_cast<unsigned char>((v & 0x7F) | 0x80);
        v >>= 7;
    }
    *out++ = static_cast<unsigned char>(v);
    return out;
}

// Reads an integer this class wrote; the buffer is well formed by construction.
std::size_t GetVarint(const unsigned char*& p) {
    std::size_t v = 0;
    int shift = 0;
    for (;;) {
        const unsigned char b = *p++;
        v |= std::size_t(b & 0x7F) << shift;
        if ((b & 0x80) == 0)
            return v;
        shift += 7;
    }
}

const unsigned char* SkipEntry(const unsigned char* p) {
    const std::size_t length = GetVarint(p);
    return p + length;
}

std::uint32_t Load32(const unsigned char* p) {
    std::uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

void Store32(unsigned char* p, std::size_t v) {
    const auto v32 = static_cast<std::uint32_t>(v);
    std::memcpy(p, &v32, sizeof v32);
}

void CheckContentSize(std::size_t size) {
    if (size > kMaxContent)
        throw std::length_error("the texts of a tree list node are too long");
}

} // namespace

TdxNodeStrings::TdxNodeStrings() noexcept {
    std::memset(FRaw, 0, sizeof FRaw);
}

TdxNodeStrings::~TdxNodeStrings() {
    Clear();
}

unsigned char* TdxNodeStrings::HeapBlock() const {
    unsigned char* block;
    std::memcpy(&block, FRaw, sizeof block);
    return block;
}

std::size_t TdxNodeStrings::HeapCapacity() const {
    return Load32(HeapBlock() + 4);
}

void TdxNodeStrings::SetHeapSize(std::size_t size) {
    Store32(HeapBlock(), size);
}

TdxNodeStrings::TView TdxNodeStrings::Content() const {
    if (OnHeap()) {
        const unsigned char* block = HeapBlock();
        return {block + kHeapHeader, Load32(block)};
    }
    return {FRaw, FRaw[kInlineBytes]};
}

void TdxNodeStrings::Clear() {
    if (OnHeap())
        ::operator delete(HeapBlock());
    std::memset(FRaw, 0, sizeof FRaw);
}

void TdxNodeStrings::Assign(const unsigned char* bytes, std::size_t size,
                            std::size_t capacityHint) {
    if (size <= kInlineBytes) {
        unsigned char copy[kInlineBytes];
        std::memcpy(copy, bytes, size);
        Clear();
        std::memcpy(FRaw, copy, size);
        FRaw[kInlineBytes] = static_cast<unsigned char>(size);
        return;
    }
    const std::size_t capacity = std::max(size, std::min(capacityHint, kMaxContent));
    auto* block = static_cast<unsigned char*>(::operator new(kHeapHeader + capacity));
    Store32(block, size);
    Store32(block + 4, capacity);
    std::memcpy(block + kHeapHeader, bytes, size);
    Clear();
    std::memcpy(FRaw, &block, sizeof block);
    FRaw[kInlineBytes] = kHeapTag;
}

int TdxNodeStrings::Count() const {
    const TView content = Content();
    if (content.Size == 0)
        return 0;
    const unsigned char* p = content.Data;
    return static_cast<int>(GetVarint(p));
}

std::string_view TdxNodeStrings::Get(int index) const {
    const TView content = Content();
    if (content.Size == 0 || index < 0)
        return {};
    const unsigned char* p = content.Data;
    const std::size_t count = GetVarint(p);
    if (std::size_t(index) >= count)
        return {};
    for (int i = 0; i < index; ++i)
        p = SkipEntry(p);
    const std::size_t length = GetVarint(p);
    return {reinterpret_cast<const char*>(p), length};
}

void TdxNodeStrings::Set(int index, std::string_view text) {
    if (index < 0)
        throw std::out_of_range("negative text index");
    // The usual write, a node's only text when it is short: composed in place. Inline, byte 0
    // is the entry count (0 when empty), and one short entry is its length and its bytes.
    if (index == 0 && !OnHeap() && FRaw[0] <= 1 && text.size() <= kInlineBytes - 2) {
        if (!text.empty())
            std::memmove(FRaw + 2, text.data(), text.size());
        FRaw[0] = 1;
        FRaw[1] = static_cast<unsigned char>(text.size());
        FRaw[kInlineBytes] = static_cast<unsigned char>(2 + text.size());
        return;
    }
    const TView content = Content();
    // The new text may be a view of this buffer, which the rebuild overwrites.
    const auto* textBytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::less_equal<const unsigned char*> atOrBefore;
    if (!text.empty() && atOrBefore(content.Data, textBytes) &&
        !atOrBefore(content.Data + content.Size, textBytes)) {
        const std::string copy(text);
        Set(index, copy);
        return;
    }
    const unsigned char* p = content.Data;
    const unsigned char* end = content.Data + content.Size;
    const std::size_t count = content.Size ? GetVarint(p) : 0;
    const unsigned char* entries = p;
    const std::size_t entryBytes = VarintSize(text.size()) + text.size();
    CheckContentSize(text.size());

    if (std::size_t(index) < count) {
        const unsigned char* entry = entries;
        for (int i = 0; i < index; ++i)
            entry = SkipEntry(entry);
        const unsigned char* entryEnd = SkipEntry(entry);
        const std::size_t head = std::size_t(entry - content.Data);
        const std::size_t tail = std::size_t(end - entryEnd);
        const std::size_t newSize = head + entryBytes + tail;
        CheckContentSize(newSize);
        if (OnHeap() && newSize <= HeapCapacity()) {
            unsigned char* data = HeapBlock() + kHeapHeader;
            std::memmove(data + head + entryBytes, data + (entryEnd - content.Data), tail);
            unsigned char* out = PutVarint(data + head, text.size());
            if (!text.empty())
                std::memcpy(out, text.data(), text.size());
            SetHeapSize(newSize);
            return;
        }
        std::string scratch(newSize, '\0');
        auto* out = reinterpret_cast<unsigned char*>(scratch.data());
        std::memcpy(out, content.Data, head);
        unsigned char* q = PutVarint(out + head, text.size());
        if (!text.empty())
            std::memcpy(q, text.data(), text.size());
        if (tail)
            std::memcpy(q + text.size(), entryEnd, tail);
        Assign(out, newSize, newSize);
        return;
    }

    // Append: empty entries up to `index`, then the text.
    const std::size_t newCount = std::size_t(index) + 1;
    const std::size_t gaps = std::size_t(index) - count;
    const std::size_t oldEntries = std::size_t(end - entries);
    const std::size_t newSize = VarintSize(newCount) + oldEntries + gaps + entryBytes;
    CheckContentSize(newSize);
    if (OnHeap() && newSize <= HeapCapacity() && VarintSize(newCount) == VarintSize(count)) {
        unsigned char* data = HeapBlock() + kHeapHeader;
        unsigned char* out = data + content.Size;
        std::memset(out, 0, gaps);
        out = PutVarint(out + gaps, text.size());
        if (!text.empty())
            std::memcpy(out, text.data(), text.size());
        PutVarint(data, newCount);
        SetHeapSize(newSize);
        return;
    }
    std::string scratch(newSize, '\0');
    auto* out = reinterpret_cast<unsigned char*>(scratch.data());
    unsigned char* q = PutVarint(out, newCount);
    if (oldEntries)
        std::memcpy(q, entries, oldEntries);
    q += oldEntries + gaps; // the gap entries are zero lengths already
    q = PutVarint(q, text.size());
    if (!text.empty())
        std::memcpy(q, text.data(), text.size());
    // Appending grows geometrically so that writing many entries in order stays linear.
    const std::size_t grown = OnHeap() ? HeapCapacity() * 2 : newSize;
    Assign(out, newSize, std::max(newSize, grown));
}

void TdxNodeStrings::Delete(int index) {
    const TView content = Content();
    if (content.Size == 0 || index < 0)
        return;
    const unsigned char* p = content.Data;
    const std::size_t count = GetVarint(p);
    if (std::size_t(index) >= count)
        return;
    if (count == 1) {
        Clear();
        return;
    }
    const unsigned char* entry = p;
    for (int i = 0; i < index; ++i)
        entry = SkipEntry(entry);
    const unsigned char* entryEnd = SkipEntry(entry);
    const unsigned char* end = content.Data + content.Size;
    const std::size_t before = std::size_t(entry - p);
    const std::size_t after = std::size_t(end - entryEnd);
    const std::size_t newSize = VarintSize(count - 1) + before + after;
    std::string scratch(newSize, '\0');
    auto* out = reinterpret_cast<unsigned char*>(scratch.data());
    unsigned char* q = PutVarint(out, count - 1);
    if (before)
        std::memcpy(q, p, before);
    if (after)
        std::memcpy(q + before, entryEnd, after);
    Assign(out, newSize, newSize);
}

void TdxNodeStrings::Move(int from, int to) {
    const int count = Count();
    if (from < 0 || to < 0 || from == to)
        return;
    // Empty entries are appended up to both positions first and kept: the entries' count is
    // what the node stream stores.
    const int size = std::max({count, from + 1, to + 1});
    std::vector<std::string> texts;
    texts.reserve(static_cast<std::size_t>(size));
    for (int i = 0; i < size; ++i)
        texts.emplace_back(Get(i));
    std::string moved = std::move(texts[std::size_t(from)]);
    texts.erase(texts.begin() + from);
    texts.insert(texts.begin() + to, std::move(moved));
    Clear();
    for (int i = 0; i < size; ++i)
        Set(i, texts[std::size_t(i)]);
}

} // namespace dxtl
