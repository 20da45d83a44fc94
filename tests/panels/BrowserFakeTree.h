#pragma once

#include "panels/UiBrowserTree.h"

#include <memory>
#include <string>
#include <vector>

// The browser's tree in memory. Each item records how it was last folded:
// -1 never, 0 collapsed, 1 expanded.
class BrowserFakeTree : public UiBrowserTree
{
public:
    struct Node
    {
        Node* parent = nullptr;
        std::string text;
        int image = -1;
        int data = -1;
        bool bold = false;
        int expanded = -1;
        std::vector<Node*> children;
    };

    void beginRebuild() override { ++rebuilds; }
    void deleteAll() override
    {
        nodes.clear();
        top.clear();
    }
    Item append(Item parent, const BcString& text, int image, int data) override
    {
        nodes.push_back(std::make_unique<Node>());
        Node* node = nodes.back().get();
        node->parent = static_cast<Node*>(parent);
        node->text = text.toNarrow(BcString::utf8CodePage);
        node->image = image;
        node->data = data;
        (parent ? node->parent->children : top).push_back(node);
        return node;
    }
    void setBold(Item item) override { node(item)->bold = true; }
    void expand(Item item, bool expanded) override { node(item)->expanded = expanded ? 1 : 0; }
    Item firstChild(Item parent) override
    {
        const std::vector<Node*>& list = parent ? node(parent)->children : top;
        return list.empty() ? nullptr : list.front();
    }
    Item nextSibling(Item item) override
    {
        Node* n = node(item);
        const std::vector<Node*>& list = n->parent ? n->parent->children : top;
        for (size_t i = 0; i + 1 < list.size(); ++i)
            if (list[i] == n)
                return list[i + 1];
        return nullptr;
    }
    int data(Item item) override { return node(item)->data; }
    BcString text(Item item) override { return BcString(node(item)->text.c_str()); }
    void setText(Item item, const BcString& text) override
    {
        node(item)->text = text.toNarrow(BcString::utf8CodePage);
        ++textsSet;
    }
    int image(Item item) override { return node(item)->image; }
    void setImage(Item item, int image) override { node(item)->image = image; }

    // One line per item, indented two spaces per level: its text, its icon
    // in brackets, "*" when bold, "-" when collapsed.
    std::string dump() const
    {
        std::string out;
        for (Node* n : top)
            dump(n, 0, out);
        return out;
    }
    // The first item with the text, depth first.
    Node* find(const std::string& text) const
    {
        for (Node* n : top)
            if (Node* found = find(n, text))
                return found;
        return nullptr;
    }

    int rebuilds = 0;
    int textsSet = 0;

private:
    static Node* node(Item item) { return static_cast<Node*>(item); }
    static void dump(Node* n, int depth, std::string& out)
    {
        out += std::string(size_t(depth) * 2, ' ') + n->text + " [" + std::to_string(n->image) + "]";
        if (n->bold)
            out += " *";
        if (n->expanded == 0)
            out += " -";
        out += "\n";
        for (Node* child : n->children)
            dump(child, depth + 1, out);
    }
    static Node* find(Node* n, const std::string& text)
    {
        if (n->text == text)
            return n;
        for (Node* child : n->children)
            if (Node* found = find(child, text))
                return found;
        return nullptr;
    }

    std::vector<std::unique_ptr<Node>> nodes;
    std::vector<Node*> top;
};
