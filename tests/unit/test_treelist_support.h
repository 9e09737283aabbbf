// Independent helpers for tree list tests: a node stream encoder and decoder written from the
// format's description (not from the list's own code), and plain tree walks over the public
// node interface. No test framework here: the fuzz seed generator uses the encoder too.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace treelist_testing {

struct TStreamNode {
    std::int32_t ImageIndex = 0;
    std::int32_t SelectedIndex = -1;
    std::int32_t StateIndex = -1;
    std::uint32_t Data = 0;
    std::vector<std::string> Texts;
    std::vector<TStreamNode> Children;
    // Bytes appended to the 24-byte block (a reader must skip them).
    std::string BlockExtra;
};

inline void AppendInt32(std::string& out, std::int64_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

inline void EncodeNode(std::string& out, const TStreamNode& node, bool older) {
    AppendInt32(out, 24 + static_cast<std::int64_t>(node.BlockExtra.size()));
    AppendInt32(out, node.ImageIndex);
    AppendInt32(out, node.SelectedIndex);
    AppendInt32(out, node.StateIndex);
    AppendInt32(out, node.Data);
    AppendInt32(out, static_cast<std::int64_t>(node.Children.size()));
    AppendInt32(out, static_cast<std::int64_t>(node.Texts.size()));
    out += node.BlockExtra;
    for (const std::string& text : node.Texts) {
        if (older)
            out.push_back(static_cast<char>(text.size()));
        else
            AppendInt32(out, static_cast<std::int64_t>(text.size()));
        out += text;
    }
    for (const TStreamNode& child : node.Children)
        EncodeNode(out, child, older);
}

// The current format starts with the -1 marker; the older one with the count and keeps text
// lengths in one byte.
inline std::string EncodeStream(const std::vector<TStreamNode>& roots, bool older = false) {
    std::string out;
    if (!older)
        AppendInt32(out, -1);
    AppendInt32(out, static_cast<std::int64_t>(roots.size()));
    for (const TStreamNode& root : roots)
        EncodeNode(out, root, older);
    return out;
}

class TStreamDecoder {
public:
    explicit TStreamDecoder(const std::string& bytes) : FBytes(bytes) {}

    std::vector<TStreamNode> Decode() {
        std::int32_t count = Int32();
        bool older = true;
        if (count == -1) {
            older = false;
            count = Int32();
        }
        std::vector<TStreamNode> roots(static_cast<std::size_t>(count));
        for (TStreamNode& root : roots)
            Node(root, older);
        if (FAt != FBytes.size())
            throw std::runtime_error("trailing bytes");
        return roots;
    }

private:
    std::int32_t Int32() {
        if (FBytes.size() - FAt < 4)
            throw std::runtime_error("cut off");
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v |= std::uint32_t(static_cast<unsigned char>(FBytes[FAt++])) << (8 * i);
        return static_cast<std::int32_t>(v);
    }
    void Node(TStreamNode& node, bool older) {
        const std::int32_t block = Int32();
        if (block != 24)
            throw std::runtime_error("unexpected block size");
        node.ImageIndex = Int32();
        node.SelectedIndex = Int32();
        node.StateIndex = Int32();
        node.Data = static_cast<std::uint32_t>(Int32());
        const std::int32_t children = Int32();
        const std::int32_t texts = Int32();
        for (std::int32_t i = 0; i < texts; ++i) {
            std::size_t length;
            if (older)
                length = static_cast<unsigned char>(FBytes.at(FAt++));
            else
                length = static_cast<std::size_t>(Int32());
            node.Texts.push_back(FBytes.substr(FAt, length));
            FAt += length;
        }
        node.Children.resize(static_cast<std::size_t>(children));
        for (TStreamNode& child : node.Children)
            Node(child, older);
    }

    const std::string& FBytes;
    std::size_t FAt = 0;
};

inline std::vector<TStreamNode> DecodeStream(const std::string& bytes) {
    return TStreamDecoder(bytes).Decode();
}

// Plain recursive walks over the public interface (test trees are shallow).
template <class TNode> void CollectDisplayed(TNode* node, std::vector<TNode*>& rows) {
    rows.push_back(node);
    if (node->Expanded())
        for (int i = 0; i < node->ChildCount(); ++i)
            CollectDisplayed(node->Children(i), rows);
}

template <class TNode, class TList> std::vector<TNode*> DisplayedByWalk(TList& list) {
    std::vector<TNode*> rows;
    for (int i = 0; i < list.NodeCount(); ++i)
        CollectDisplayed(list.NodeAt(i), rows);
    return rows;
}

template <class TNode> void CollectAll(TNode* node, std::vector<TNode*>& nodes) {
    nodes.push_back(node);
    for (int i = 0; i < node->ChildCount(); ++i)
        CollectAll(node->Children(i), nodes);
}

template <class TNode, class TList> std::vector<TNode*> AllByWalk(TList& list) {
    std::vector<TNode*> nodes;
    for (int i = 0; i < list.NodeCount(); ++i)
        CollectAll(list.NodeAt(i), nodes);
    return nodes;
}

} // namespace treelist_testing
