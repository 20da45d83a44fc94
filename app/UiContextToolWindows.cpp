#include "app/UiContext.h"

#include "app/UiManuscriptPaper.h"
#include "app/UiTransposeDialog.h"

bool UiContext::runTransposeDialog(TransposeChoice& choice)
{
    return UiTransposeDialog::run(choice);
}

void UiContext::runParallaxScore(MnScore*, int, int) {}

bool UiContext::run3dPrinting()
{
    return false;
}

void UiContext::runManuscriptPaper(MnScore* score)
{
    UiManuscriptPaper::run(score);
}
