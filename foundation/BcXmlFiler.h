#pragma once

#include "foundation/BcString.h"

#include <memory>
#include <string>

class BcXmlStream;
class TiXmlDocument;
class TiXmlElement;

// An element cursor over an XML document held by TinyXML. Names, values and
// texts go to TinyXML in the filer's code page and come back read as UTF-8.
//
// Owners use the fields directly for what the filer does not do itself: they
// hand it a document parsed from text (the filer then owns it) or walk the
// children of the current element.
//
// A filer that only writes can stream instead: it then builds no document
// and writes each element's markup as it comes, the saved file byte for byte
// the one the document would have given.
class BcXmlFiler
{
public:
    explicit BcXmlFiler(int codePage = BcString::utf8CodePage);
    virtual ~BcXmlFiler();
    BcXmlFiler(const BcXmlFiler&) = delete;
    BcXmlFiler& operator=(const BcXmlFiler&) = delete;

    // Texts end up in strings whose length is an int.
    static constexpr long long maxFileSize = 0x7FFFFFFF;
    // Elements nested deeper are refused; no document of the formats read
    // here comes near it.
    static constexpr int maxNesting = 256;

    // Replaces the document by the file's; false when the file cannot be
    // opened, is not a regular file, is larger than maxFileSize, nests
    // elements deeper than maxNesting or is not well-formed. Never blocks on
    // a FIFO or a device. The cursor is at the document level.
    bool open(const BcString& path);
    // Saves the document under fileName through a temporary file in the same
    // folder, so a failed save leaves any earlier file as it was. A stream is
    // closed first; one written out of order is not saved. Saving ends a
    // stream: the filer streams a new, empty document after it.
    bool save();

    // From here on the writing calls append to a text instead of a document:
    // an element's attributes must then come before its content, and its
    // text before any child element, as the only content it has. A call out
    // of that order adds nothing and answers false, and save() then refuses
    // the whole text rather than store a document the writer did not mean.
    // The cursor stays null and the reading calls answer false. False when
    // the filer holds a document already. Opening a file ends the stream.
    // With fileName set, a long stream goes on to the temporary file in
    // pieces as it is written, so its whole text is never held at once.
    bool startStreaming();
    bool isStreaming() const { return stream != nullptr; }

    bool addDeclaration(const BcString& version, const BcString& encoding);
    // Appends below the cursor (or to the document) and moves onto it.
    bool addElement(const BcString& name);
    // Up one element; at the top the cursor goes to the document level and
    // the answer is false.
    bool goToParent();
    // The index-th child element of that name becomes the cursor. At the
    // document level only index 0 is allowed.
    bool findElement(const BcString& name, int index);
    // The cursor's element gets the text as its only child.
    bool setElementText(const BcString& text);
    // A child element holding the narrow text; the cursor does not move.
    // False, adding nothing, at the document level.
    bool addTextElement(const BcString& name, const char* text);
    bool addTextElementInt(const BcString& name, int value);
    bool addTextElementDouble(const BcString& name, double value);
    bool addTextElementString(const BcString& name, const BcString& text);
    // The same with names, attribute values and numbers that are ASCII and
    // so the same in every code page: for writers of many elements, which
    // they spare the conversions. Numbers are written as "%d" and "%f" with a
    // full stop whatever the locale.
    bool addElement(const char* name);
    bool addTextElement(const char* name, const char* text);
    bool addTextElementInt(const char* name, int value);
    bool addTextElementDouble(const char* name, double value);
    bool addTextElementString(const char* name, const BcString& text);
    bool setAttribute(const char* name, const char* value);
    bool setAttribute(const char* name, int value);
    bool setAttribute(const char* name, double value);
    // The text of the first child element of that name, with the numeric
    // character references of the reference table decoded; out is unchanged
    // when there is no such text.
    bool getElementText(const BcString& name, BcString& out) const;
    bool getAttribute(const BcString& name, BcString& out) const;
    bool setAttribute(const BcString& name, const BcString& value);

    // Decodes the table of numeric character references, row by row in table
    // order, so that a reference produced by one row is decoded by a later one.
    static void decodeReferences(BcString& text);

    BcString fileName;
    TiXmlDocument* document = nullptr;
    // Null at the document level.
    TiXmlElement* current = nullptr;
    int codePage;

private:
    TiXmlDocument* ensureDocument();

    void endStream();
    // Sends the finished text of a long stream to the temporary file.
    void spillStream();
    bool saveStream();

    // The size of the text that a stream holds before it spills.
    static constexpr size_t streamSpillSize = size_t(1) << 20;
    std::unique_ptr<BcXmlStream> stream;
    int streamFile = -1;
    std::string streamTemporary;
    // The path the temporary file was made for.
    std::string streamTarget;
    bool streamFailed = false;
};
