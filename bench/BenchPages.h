#pragma once

#include "app/UiDialogTemplates.h"
#include "app/UiMemoryControlHost.h"
#include "editing/QuorvaneDocument.h"
#include "tests/common/EdFakeContext.h"

#include <benchmark/benchmark.h>

#include <initializer_list>
#include <memory>

// A new document holding the works given, the active one of a fake context:
// what a property page edits in the benchmarks.
struct BenchDocument
{
    explicit BenchDocument(std::initializer_list<MnElement*> works)
    {
        document.OnNewDocument();
        for (MnElement* work : works)
            document.addWork(work);
        context.activate(&document);
    }

    EdFakeContext context;
    QuorvaneDocument document;
};

// The memory host with single keystrokes: the text grows by one letter and
// tells of it, as an edit does.
class KeystrokeHost : public UiMemoryControlHost
{
public:
    using UiMemoryControlHost::UiMemoryControlHost;
    void keystroke(int id, char letter)
    {
        setText(id, text(id) + letter);
        notify(id, textChanged);
    }
};

// A property page on a keystroke host of its own template.
template <typename Page>
std::unique_ptr<Page> makeBenchPage(KeystrokeHost*& controls)
{
    auto page = std::make_unique<Page>();
    auto host = std::make_unique<KeystrokeHost>(*UiDialogTemplates::find(page->templateId()));
    controls = host.get();
    page->create(std::move(host), nullptr, 1.0);
    return page;
}

// Types a letter into a text box each iteration, as a user does; every
// `longest` letters the box is emptied outside the timing, so that the text
// keeps a usual length.
inline void typeLetters(benchmark::State& state, KeystrokeHost& controls, int id, int longest)
{
    int letters = 0;
    for (auto _ : state) {
        if (++letters > longest) {
            state.PauseTiming();
            controls.setText(id, "");
            letters = 0;
            state.ResumeTiming();
        }
        controls.keystroke(id, 'a');
    }
}
