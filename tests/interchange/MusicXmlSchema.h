#pragma once

#include <gtest/gtest.h>

#include <string>

// Checks a file against the MusicXML 4.0 schema of tests/data/musicxml/schema
// with xmllint, offline. A file that does not validate fails with xmllint's
// report. Without xmllint the check passes after saying, once, that it was
// skipped.
::testing::AssertionResult matchesMusicXmlSchema(const std::string& path);
