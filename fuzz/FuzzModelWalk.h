#pragma once

class MnElement;
class QuorvaneDocument;

// Walks what a reader built the way the layout, playback and editing about
// to use it will: every element's children with their parent links, and the
// musical getters that need no layout (times, durations, pitches, beams,
// tuplets, tablature strings, margins). A broken parent link aborts; any
// other fault shows up as a crash or a sanitizer report. Runs once without
// and once inside a cache scope, so cached values are taken too.
void fuzzWalkElement(MnElement* element);
void fuzzWalkDocument(QuorvaneDocument& document);
