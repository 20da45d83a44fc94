#include "commands/EdToolCommands.h"

#include "commands/EdCommandTable.h"
#include "commands/EdPlaybackCommands.h"
#include "editing/EdCommand.h"
#include "editing/EdContext.h"
#include "editing/EdSelection.h"
#include "editing/EdView.h"
#include "editing/QuorvaneDocument.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"

void EdToolCommands::cmdParallaxScore()
{
    EdContext& context = EdContext::current();
    EdCommand edit;
    MnScore* score = nullptr;
    int startTime = 0;
    int cursorTime = 0;
    if (EdPlaybackCommands::startPosition(score, startTime, cursorTime))
        context.runParallaxScore(score, startTime, cursorTime);
    else
        context.showHint(parallaxScoreId);
}

void EdToolCommands::cmd3dPrinting()
{
    EdContext& context = EdContext::current();
    EdCommand edit;
    if (!context.run3dPrinting())
        context.showHint(printing3dId);
}

void EdToolCommands::cmdManuscriptPaper()
{
    EdContext& context = EdContext::current();
    EdCommand edit;
    MnScore* score = nullptr;
    int startTime = 0;
    int cursorTime = 0;
    if (EdPlaybackCommands::startPosition(score, startTime, cursorTime))
        context.runManuscriptPaper(score);
    else
        context.showHint(manuscriptPaperId);
}

void EdToolCommands::cmdSetAsMainScore()
{
    EdContext& context = EdContext::current();
    EdView* view = context.activeView();
    if (!view)
        return;
    EdCommand edit;
    const EdSelection& selection = view->selection();
    for (int i = 0; i < selection.count(); ++i) {
        MnElement* element = selection.element(i);
        if (!element->isKindOf(MnScore::staticClass()) && !element->isKindOf(MnSheetMusic::staticClass()))
            continue;
        // Only a work of the document can be its main score; a score shown
        // inside a sheet music is not one.
        QuorvaneDocument* document = context.activeDocument();
        if (!document)
            return;
        const BcArray<MnElement*>& works = document->works();
        for (int w = 1; w < works.count(); ++w) {
            if (works[w] == element && document->mainScoreIndex() != w && document->setMainScoreIndex(w)) {
                edit.markModified();
                break;
            }
        }
        return;
    }
    context.showHint(setAsMainScoreId);
}

void EdToolCommands::addRows()
{
    EdCommandTable::add({parallaxScoreId, [](unsigned) { cmdParallaxScore(); }, &EdCommandTable::whenScore});
    EdCommandTable::add({printing3dId, [](unsigned) { cmd3dPrinting(); }, &EdCommandTable::whenScore});
    EdCommandTable::add({manuscriptPaperId, [](unsigned) { cmdManuscriptPaper(); }, &EdCommandTable::whenScore});
    EdCommandTable::add({setAsMainScoreId, [](unsigned) { cmdSetAsMainScore(); }, &EdCommandTable::whenScore});
}
