#pragma once

#include "panels/UiPropertiesDlg.h"

// The page of selected dynamics: the marking (eight marks, two hairpins,
// four words) and the qualifier of a word, "Molto" or "Poco", which
// compose the dynamic's kind.
class UiDynamicDlg : public UiPropertiesDlg
{
public:
    static constexpr unsigned pageTemplateId = 116;
    UiDynamicDlg() : UiPropertiesDlg(pageTemplateId) {}

    BcString title() const override;
    const BcClass* elementClass() const override;

    // The kind of a marking (0..13) with its qualifiers: only a word
    // (10..13) takes one, and molto wins over poco.
    static int composeKind(int base, bool withMolto, bool withPoco);
    // A kind's marking and qualifiers, the inverse of composeKind.
    static int markingOf(int kind);
    static bool isMolto(int kind) { return kind >= 20 && kind < 30; }
    static bool isPoco(int kind) { return kind >= 30; }

    int marking = 2;  // 0..13, -1 mixed
    int molto = 0;    // 0, 1, 2 mixed
    int poco = 0;     // 0, 1, 2 mixed

protected:
    void scaleBitmaps() override;
    void setupAnchors() override;
    bool loadElement(MnElement* element, bool merge) override;
    bool applyToElement(MnElement* element) override;
    void exchange(UiDataExchange& dx) override;
    void notified(int controlId, UiControlHost::Notification what) override;
};
