// Writes a few small, valid node streams in both formats as the fuzzer's starting corpus.
// Usage: make_node_stream_seeds DIRECTORY
#include "tests/unit/test_treelist_support.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

using treelist_testing::EncodeStream;
using treelist_testing::TStreamNode;

namespace {

TStreamNode Node(std::vector<std::string> texts, std::vector<TStreamNode> children = {}) {
    TStreamNode node;
    node.Texts = std::move(texts);
    node.Children = std::move(children);
    return node;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIRECTORY\n", argv[0]);
        return 2;
    }
    TStreamNode marked = Node({"marked", "", "third"});
    marked.ImageIndex = 1;
    marked.SelectedIndex = 1;
    marked.Data = 0x00010203;
    TStreamNode extra = Node({"extra block bytes"});
    extra.BlockExtra = "1234";
    const std::vector<TStreamNode> flat{Node({"one"}), marked, Node({})};
    const std::vector<TStreamNode> nested{
        Node({"root"}, {Node({"a"}, {Node({"a1"}), Node({"a2"})}), extra}), Node({"last"})};

    const std::vector<std::pair<std::string, std::string>> seeds{
        {"empty-list", EncodeStream({})},
        {"flat", EncodeStream(flat)},
        {"nested", EncodeStream(nested)},
        {"flat-older", EncodeStream(flat, true)},
        {"nested-older", EncodeStream(nested, true)},
    };
    for (const auto& [name, bytes] : seeds) {
        std::ofstream out(std::string(argv[1]) + "/" + name, std::ios::binary);
        out << bytes;
        if (!out) {
            std::fprintf(stderr, "cannot write seed %s\n", name.c_str());
            return 1;
        }
    }
    return 0;
}
