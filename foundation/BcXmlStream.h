#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The text of an XML document written front to back, laid out exactly as
// TinyXML prints a document built of the same calls: four spaces of indent
// per level, an element without content as "<a />", one holding only text on
// one line, every top-level node on a line of its own, and the same escapes.
// No tree is built, so a large export costs one growing string.
//
// Writing in order has a price: an element's attributes come before its
// content, its text comes before any child (and is then its only content),
// and a declaration stands at the top level. A call that breaks this order
// adds nothing and answers false, and the stream remembers it (misused), so
// its owner can refuse to keep a document that is not what was meant.
class BcXmlStream
{
public:
    bool addDeclaration(const char* version, const char* encoding);
    // Opens an element below the current one (or at the top level).
    bool openElement(const char* name);
    // Sets an attribute of the element just opened, replacing the value of
    // one already set under that name, as a document would.
    bool setAttribute(const char* name, const char* value);
    // The element's text as its only content; a second call replaces it.
    bool setText(const char* text);
    // An element holding only the text, closed at once.
    bool addTextElement(const char* name, const char* text);
    // Closes the current element; false when none is open.
    bool closeElement();
    // Closes every open element; the text is then the whole document.
    void closeAll();

    bool isAtTopLevel() const { return open.empty(); }
    bool isEmpty() const { return text.empty(); }
    bool misused() const { return wasMisused; }
    // The text written since the last clearWritten.
    const std::string& content() const { return text; }
    // Whether no part of the text can change any more: no start tag is
    // open and no text that a second setText would replace.
    bool isSettled() const { return open.empty() || open.back().content == Content::children; }
    // Forgets the text written so far, once it has gone elsewhere; false,
    // keeping it, when it is not settled.
    bool clearWritten();

private:
    // What the current element holds so far.
    enum class Content { nothing, text, children };
    struct OpenElement
    {
        size_t nameAt;    // offset of its name in names
        size_t textAt;    // offset of its text in text, once it has one
        Content content;
    };
    // An attribute of the start tag still open: where it stands in text.
    struct Attribute
    {
        size_t start;     // the space before its name
        size_t nameEnd;
        size_t end;
    };

    bool refuse();
    // Ends the start tag of the current element before content of that kind.
    bool beginContent(Content kind);
    void appendIndent(size_t depth);
    void appendEscaped(const char* raw);

    std::string text;
    // The names of the open elements, each ended by a zero.
    std::string names;
    std::vector<OpenElement> open;
    std::vector<Attribute> attributes;
    bool wasMisused = false;
};
