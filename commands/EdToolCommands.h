#pragma once

// The Tools menu's windows (Parallax score, 3D Printing, Manuscript paper),
// which belong to the shell: these commands choose what they show and say
// when there is nothing to show; and Sheet music/Set as main score.
class EdToolCommands
{
public:
    static void cmdParallaxScore();
    static void cmd3dPrinting();
    static void cmdManuscriptPaper();
    static void cmdSetAsMainScore();

    static constexpr unsigned parallaxScoreId = 32957;
    static constexpr unsigned printing3dId = 32959;
    static constexpr unsigned manuscriptPaperId = 33027;
    static constexpr unsigned setAsMainScoreId = 32881;

    static void addRows();
};
