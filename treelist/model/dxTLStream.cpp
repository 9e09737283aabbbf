// The stored node stream, property "Data".
//
//   header: -1 (marker), node count              older format: node count alone (>= 0)
//   node:   block size (>= 24), then ImageIndex, SelectedIndex, StateIndex, Data, child count,
//           text count (the block's extra bytes are skipped); each text as its length (32
//           bits; one byte in the older format) and bytes; then the children, in order.
// Integers are 32-bit little-endian signed.
//
// The reader trusts no count: nothing is allocated ahead from one, and a count that the rest
// of the stream cannot hold is refused at once, so memory stays proportional to the stream.
// Trees are walked with explicit stacks, as a stream can nest as deep as it has nodes.
#include "treelist/dxTL.h"

#include <exception>

namespace dxtl {

namespace {

// Block size, then six integers.
constexpr std::size_t kNodeBlockBytes = 24;
constexpr std::size_t kMinNodeBytes = 4 + kNodeBlockBytes;

class TNodeStreamReader {
public:
    explicit TNodeStreamReader(std::string_view bytes) : FBytes(bytes) {}

    std::size_t Offset() const { return FOffset; }
    std::size_t Remaining() const { return FBytes.size() - FOffset; }

    [[noreturn]] void Fail(std::size_t at, const std::string& what) const {
        throw EdxTreeListStreamError("Invalid node stream at byte " + std::to_string(at) + ": " +
                                     what);
    }

    std::int32_t ReadInt32(const char* what) {
        if (Remaining() < 4)
            Fail(FOffset, std::string(what) + " is cut off (4 bytes needed, " +
                              std::to_string(Remaining()) + " left)");
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v |= std::uint32_t(static_cast<unsigned char>(FBytes[FOffset + std::size_t(i)]))
                 << (8 * i);
        FOffset += 4;
        return static_cast<std::int32_t>(v);
    }

    std::uint8_t ReadByte(const char* what) {
        if (Remaining() < 1)
            Fail(FOffset, std::string(what) + " is cut off (no bytes left)");
        return static_cast<std::uint8_t>(FBytes[FOffset++]);
    }

    std::string_view ReadBytes(std::size_t count) {
        const std::string_view bytes = FBytes.substr(FOffset, count);
        FOffset += count;
        return bytes;
    }

    void Skip(std::size_t count) { FOffset += count; }

    // Refuses a count of items, each at least `minBytes` long, that cannot fit in the rest.
    void CheckCount(std::size_t at, std::int32_t count, std::size_t minBytes, const char* what) {
        if (count < 0)
            Fail(at,
                 std::string("negative number of ") + what + " (" + std::to_string(count) + ")");
        if (std::size_t(count) > Remaining() / minBytes)
            Fail(at, std::to_string(count) + " " + what + " cannot fit in the " +
                         std::to_string(Remaining()) + " bytes left");
    }

private:
    std::string_view FBytes;
    std::size_t FOffset = 0;
};

void PutInt32(std::string& out, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// Reads one node's block and texts into `node`; answers its child count.
std::int32_t ReadNode(TNodeStreamReader& in, TdxTreeListNode* node, bool older) {
    const std::size_t at = in.Offset();
    const std::int32_t blockSize = in.ReadInt32("the node block size");
    if (blockSize < std::int32_t(kNodeBlockBytes))
        in.Fail(at, "node block of " + std::to_string(blockSize) + " bytes is shorter than " +
                        std::to_string(kNodeBlockBytes));
    if (std::size_t(blockSize) > in.Remaining())
        in.Fail(at, "node block of " + std::to_string(blockSize) + " bytes runs past the end (" +
                        std::to_string(in.Remaining()) + " bytes left)");
    const std::int32_t imageIndex = in.ReadInt32("ImageIndex");
    const std::int32_t selectedIndex = in.ReadInt32("SelectedIndex");
    const std::int32_t stateIndex = in.ReadInt32("StateIndex");
    const std::int32_t data = in.ReadInt32("Data");
    const std::int32_t childCount = in.ReadInt32("the child count");
    const std::int32_t textCount = in.ReadInt32("the text count");
    in.Skip(std::size_t(blockSize) - kNodeBlockBytes);

    in.CheckCount(at, textCount, older ? 1 : 4, "texts");
    node->SetImageIndex(imageIndex);
    node->SetSelectedIndex(selectedIndex);
    node->SetStateIndex(stateIndex);
    // Data is stored as the 32-bit value the shipped program keeps.
    node->SetData(reinterpret_cast<void*>(std::uintptr_t(std::uint32_t(data))));
    for (std::int32_t i = 0; i < textCount; ++i) {
        const std::size_t textAt = in.Offset();
        std::int64_t length;
        if (older) {
            length = in.ReadByte("a text length");
        } else {
            length = in.ReadInt32("a text length");
            if (length < 0)
                in.Fail(textAt, "negative text length (" + std::to_string(length) + ")");
        }
        if (std::size_t(length) > in.Remaining())
            in.Fail(textAt, "text of " + std::to_string(length) + " bytes is cut off (" +
                                std::to_string(in.Remaining()) + " bytes left)");
        node->SetStrings(i, in.ReadBytes(std::size_t(length)));
    }
    in.CheckCount(at, childCount, kMinNodeBytes, "child nodes");
    return childCount;
}

} // namespace

void TCustomdxTreeList::ReadData(std::string_view bytes) {
    // One lock around the clear and the reading: the layout is recomputed once, at the end.
    const TUpdateLock lock(*this);
    try {
        ClearNodes();
        TNodeStreamReader in(bytes);
        const std::int32_t first = in.ReadInt32("the header");
        bool older = false;
        std::int32_t count = first;
        if (first == -1)
            count = in.ReadInt32("the node count");
        else if (first >= 0)
            older = true;
        else
            in.Fail(0, "unknown format marker " + std::to_string(first));
        in.CheckCount(older ? 0 : 4, count, kMinNodeBytes, "top-level nodes");

        struct TFrame {
            TdxTreeListNode* Node;
            std::int32_t ChildrenLeft;
        };
        std::vector<TFrame> stack;
        for (std::int32_t i = 0; i < count; ++i) {
            TdxTreeListNode* node = AddNode();
            stack.push_back({node, ReadNode(in, node, older)});
            while (!stack.empty()) {
                if (stack.back().ChildrenLeft == 0) {
                    stack.pop_back();
                    continue;
                }
                --stack.back().ChildrenLeft;
                TdxTreeListNode* child = stack.back().Node->AddChild();
                stack.push_back({child, ReadNode(in, child, older)});
            }
        }
        if (in.Remaining() != 0)
            in.Fail(in.Offset(),
                    std::to_string(in.Remaining()) + " unexpected bytes after the last node");
    } catch (...) {
        // All or nothing: a stream that is wrong anywhere leaves no nodes. The stream's error
        // is the one to report, so a handler failing during this clear is dropped.
        try {
            ClearNodes();
        } catch (...) {
        }
        throw;
    }
}

std::string TCustomdxTreeList::WriteData(TdxNodeStreamFormat format) {
    const bool older = format == nsfOlder;
    std::string out;
    if (!older)
        PutInt32(out, -1);
    PutInt32(out, NodeCount());

    const auto writeNode = [&](TdxTreeListNode* node) {
        PutInt32(out, std::int32_t(kNodeBlockBytes));
        PutInt32(out, node->ImageIndex());
        PutInt32(out, node->SelectedIndex());
        PutInt32(out, node->StateIndex());
        PutInt32(out, static_cast<std::int32_t>(
                          std::uint32_t(reinterpret_cast<std::uintptr_t>(node->Data()))));
        PutInt32(out, node->ChildCount());
        const int textCount = GetNodeStringCount(node);
        PutInt32(out, textCount);
        for (int i = 0; i < textCount; ++i) {
            const std::string text = GetNodeString(node, i);
            if (older) {
                if (text.size() > 255)
                    throw EInvaliddxTreeListOperation(
                        "A text of " + std::to_string(text.size()) +
                        " bytes does not fit the older node stream format (255 at most)");
                out.push_back(static_cast<char>(text.size()));
            } else {
                PutInt32(out, static_cast<std::int32_t>(text.size()));
            }
            out += text;
        }
    };

    struct TFrame {
        TdxTreeListNode* Node;
        int NextChild;
    };
    std::vector<TFrame> stack;
    for (int i = 0; i < NodeCount(); ++i) {
        TdxTreeListNode* root = NodeAt(i);
        writeNode(root);
        stack.push_back({root, 0});
        while (!stack.empty()) {
            TdxTreeListNode* child = stack.back().Node->Children(stack.back().NextChild++);
            if (!child) {
                stack.pop_back();
                continue;
            }
            writeNode(child);
            stack.push_back({child, 0});
        }
    }
    return out;
}

} // namespace dxtl
