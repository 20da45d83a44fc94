#include "foundation/BcXmlStream.h"

#include <cstdio>
#include <cstring>

bool BcXmlStream::refuse()
{
    wasMisused = true;
    return false;
}

void BcXmlStream::appendIndent(size_t depth)
{
    for (size_t i = 0; i < depth; ++i)
        text.append("    ", 4);
}

// TinyXML's escapes: the five markup characters by name (an "&" always, even
// one that starts a reference) and control characters as hexadecimal
// references.
void BcXmlStream::appendEscaped(const char* raw)
{
    if (!raw)
        return;
    const size_t length = std::strlen(raw);
    size_t i = 0;
    while (i < length) {
        size_t plain = i;
        while (plain < length) {
            const unsigned char c = static_cast<unsigned char>(raw[plain]);
            if (c < 32 || c == '&' || c == '<' || c == '>' || c == '"' || c == '\'')
                break;
            ++plain;
        }
        text.append(raw + i, plain - i);
        i = plain;
        if (i >= length)
            break;
        const unsigned char c = static_cast<unsigned char>(raw[i]);
        switch (c) {
        case '&':
            text.append("&amp;");
            break;
        case '<':
            text.append("&lt;");
            break;
        case '>':
            text.append("&gt;");
            break;
        case '"':
            text.append("&quot;");
            break;
        case '\'':
            text.append("&apos;");
            break;
        default: {
            char reference[8];
            std::snprintf(reference, sizeof reference, "&#x%02X;", unsigned(c));
            text.append(reference);
            break;
        }
        }
        ++i;
    }
}

bool BcXmlStream::addDeclaration(const char* version, const char* encoding)
{
    if (!open.empty())
        return refuse();
    text.append("<?xml ");
    if (version && version[0])
        text.append("version=\"").append(version).append("\" ");
    if (encoding && encoding[0])
        text.append("encoding=\"").append(encoding).append("\" ");
    text.append("?>\n");
    return true;
}

bool BcXmlStream::beginContent(Content kind)
{
    if (open.empty())
        return false;
    OpenElement& element = open.back();
    if (element.content == Content::nothing) {
        text += '>';
        attributes.clear();
        element.content = kind;
        element.textAt = text.size();
        return true;
    }
    // Text is an element's only content: nothing goes beside it.
    return element.content == kind && kind == Content::children ? true : refuse();
}

bool BcXmlStream::openElement(const char* name)
{
    if (!name || !name[0])
        return false;
    if (!open.empty()) {
        if (!beginContent(Content::children))
            return false;
        text += '\n';
        appendIndent(open.size());
    }
    text += '<';
    text.append(name);
    open.push_back({names.size(), 0, Content::nothing});
    names.append(name);
    names += '\0';
    attributes.clear();
    return true;
}

bool BcXmlStream::setAttribute(const char* name, const char* value)
{
    if (open.empty() || !name || !name[0])
        return false;
    if (open.back().content != Content::nothing)
        return refuse();
    if (!value)
        value = "";
    const size_t start = text.size();
    text += ' ';
    appendEscaped(name);
    const size_t nameEnd = text.size();
    const char quote = std::strchr(value, '"') ? '\'' : '"';
    text += '=';
    text += quote;
    appendEscaped(value);
    text += quote;

    const size_t nameLength = nameEnd - start;
    for (size_t a = 0; a < attributes.size(); ++a) {
        Attribute& earlier = attributes[a];
        if (earlier.nameEnd - earlier.start != nameLength ||
            std::memcmp(text.data() + earlier.start, text.data() + start, nameLength) != 0)
            continue;
        // A name set again keeps its place with the new value.
        const std::string replacement = text.substr(start);
        text.resize(start);
        text.replace(earlier.start, earlier.end - earlier.start, replacement);
        const size_t oldLength = earlier.end - earlier.start;
        earlier.end = earlier.start + replacement.size();
        for (size_t later = a + 1; later < attributes.size(); ++later) {
            attributes[later].start = attributes[later].start + replacement.size() - oldLength;
            attributes[later].nameEnd = attributes[later].nameEnd + replacement.size() - oldLength;
            attributes[later].end = attributes[later].end + replacement.size() - oldLength;
        }
        return true;
    }
    attributes.push_back({start, nameEnd, text.size()});
    return true;
}

bool BcXmlStream::setText(const char* value)
{
    if (open.empty())
        return false;
    OpenElement& element = open.back();
    if (element.content == Content::text)
        text.resize(element.textAt);
    else if (!beginContent(Content::text))
        return false;
    appendEscaped(value);
    return true;
}

bool BcXmlStream::addTextElement(const char* name, const char* value)
{
    if (open.empty() || !name || !name[0])
        return false;
    if (!openElement(name))
        return false;
    setText(value);
    closeElement();
    return true;
}

bool BcXmlStream::closeElement()
{
    if (open.empty())
        return false;
    const OpenElement element = open.back();
    const char* name = names.c_str() + element.nameAt;
    switch (element.content) {
    case Content::nothing:
        text.append(" />");
        break;
    case Content::text:
        text.append("</").append(name).append(">");
        break;
    case Content::children:
        text += '\n';
        appendIndent(open.size() - 1);
        text.append("</").append(name).append(">");
        break;
    }
    names.resize(element.nameAt);
    open.pop_back();
    attributes.clear();
    if (open.empty())
        text += '\n';
    return true;
}

void BcXmlStream::closeAll()
{
    while (closeElement()) {
    }
}

bool BcXmlStream::clearWritten()
{
    if (!isSettled())
        return false;
    text.clear();
    return true;
}
