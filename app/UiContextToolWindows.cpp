#include "app/UiContext.h"

#include "app/UiManuscriptPaper.h"
#include "app/UiParallaxScore.h"
#include "app/UiTransposeDialog.h"

bool UiContext::runTransposeDialog(TransposeChoice& choice)
{
    return UiTransposeDialog::run(choice);
}

void UiContext::runParallaxScore(MnScore* score, int startTime, int cursorTime)
{
    UiParallaxScore::run(score, startTime, cursorTime, player());
}

bool UiContext::run3dPrinting()
{
    return false;
}

void UiContext::runManuscriptPaper(MnScore* score)
{
    UiManuscriptPaper::run(score);
}
