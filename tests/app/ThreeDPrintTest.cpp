#include "GLFrame.h"
#include "ShellFixture.h"

#include "app/Ui3dPrint.h"
#include "app/Ui3dPrintScene.h"
#include "app/UiGLPane.h"
#include "app/UiQuorvaneView.h"
#include "commands/EdToolCommands.h"
#include "editing/QuorvaneDocument.h"
#include "model/MnSheetMusic.h"
#include "render/ReGLHost.h"


#include <cstdlib>
#include <memory>
#include <vector>

namespace {

using ThreeDPrintTest = ShellTest;

// Pixels clearly off the clear grey, in a frame of width x height.
int litPixels(int width, int height)
{
    const std::vector<unsigned char> pixels = readFrame(width, height);
    int lit = 0;
    for (size_t i = 0; i < pixels.size(); i += 3)
        if (std::abs(pixels[i] - 127) > 8 || std::abs(pixels[i + 1] - 127) > 8 || std::abs(pixels[i + 2] - 127) > 8)
            ++lit;
    return lit;
}

}

TEST_F(ThreeDPrintTest, theMouseTurnsPansAndNearsTheCamera)
{
    Ui3dPrintScene scene;
    scene.resetCamera();
    EXPECT_FALSE(scene.move(10, 10, false));
    struct Case
    {
        const char* name;
        int dx, dy;
        bool right;
        double turn, tilt, panX, panY;
    } cases[] = {
        {"100 px right turns 25 degrees", 100, 0, false, 25, 0, 0, 0},
        {"1,600 px right turns 400, kept as 40", 1600, 0, false, 40, 0, 0, 0},
        {"up tilts backwards by whole turns", 0, -100, false, 0, 335, 0, 0},
        {"the right button pans with the hand", 30, 20, true, 0, 0, -3, 2},
    };
    for (const Case& c : cases) {
        scene.resetCamera();
        scene.press(500, 500);
        ASSERT_TRUE(scene.move(500 + c.dx, 500 + c.dy, c.right)) << c.name;
        EXPECT_DOUBLE_EQ(scene.turn, c.turn) << c.name;
        EXPECT_DOUBLE_EQ(scene.tilt, c.tilt) << c.name;
        EXPECT_DOUBLE_EQ(scene.panX, c.panX) << c.name;
        EXPECT_DOUBLE_EQ(scene.panY, c.panY) << c.name;
    }
    scene.release();
    EXPECT_FALSE(scene.move(0, 0, false));

    scene.resetCamera();
    for (int i = 0; i < 10; ++i)
        scene.wheel(120);
    EXPECT_DOUBLE_EQ(scene.distance, 10);
    scene.wheel(120);
    EXPECT_DOUBLE_EQ(scene.distance, 10);
    scene.wheel(-120);
    EXPECT_DOUBLE_EQ(scene.distance, 20);
}

TEST_F(ThreeDPrintTest, aPageMeshDrawsLitOffscreenAndNoSheetShowsNoWindow)
{
    QuorvaneDocument document;
    document.OnNewDocument();
    Ui3dPrintScene scene;
    EXPECT_FALSE(scene.buildMesh(nullptr, nullptr));
    EXPECT_FALSE(scene.buildMesh(&document, nullptr));
    document.addWork(new MnSheetMusic);
    ASSERT_TRUE(scene.buildMesh(&document, nullptr));
    ASSERT_GT(scene.pointCount(), 0);
    EXPECT_EQ(scene.pointCount() % 3, 0);
    EXPECT_EQ(scene.points.size(), size_t(scene.pointCount()) * 3);

    const int width = 320, height = 240;
    std::unique_ptr<ReGLHost> host(ReGLHost::newOffscreen(width, height));
    ASSERT_NE(host, nullptr);
    ASSERT_TRUE(host->makeCurrent());
    scene.resetCamera();
    scene.distance = 400;
    EXPECT_FALSE(scene.draw(0, height));
    ASSERT_TRUE(scene.draw(width, height));
    EXPECT_GT(litPixels(width, height), 100);
    GLboolean depth = GL_FALSE;
    glGetBooleanv(GL_DEPTH_TEST, &depth);
    EXPECT_EQ(depth, GL_FALSE);  // switched off again after the frame
}

TEST_F(ThreeDPrintTest, withoutSheetMusicTheCommandShowsItsHintAndNoWindow)
{
    ASSERT_TRUE(start());
    pump(3);
    bool opened = false;
    Ui3dPrint::setOpenedHook([&](Ui3dPrint& window) {
        opened = true;
        window.EndModal(wxID_CANCEL);
    });
    EXPECT_FALSE(Ui3dPrint::run());
    EdToolCommands::cmd3dPrinting();
    Ui3dPrint::setOpenedHook(nullptr);
    EXPECT_FALSE(opened);
    stop();
}

TEST_F(ThreeDPrintTest, theCommandOpensALitPageWithMultisamplingOrWithout)
{
    std::string sample = root + "/sample.qrv";
    ASSERT_EQ(0, std::system((std::string(QRV_SAMPLE_TOOL) + " " + sample + " > /dev/null").c_str()));
    ASSERT_TRUE(start({sample}));
    pump(5);
    bool opened = false;
    int lit = 0;
    int samples = -1;
    Ui3dPrint::setOpenedHook([&](Ui3dPrint& window) {
        opened = true;
        samples = window.canvas()->samples();
        for (int round = 0; round < 20 && !window.canvas()->IsShownOnScreen(); ++round)
            wxYield();
        window.scene().distance = 400;
        wxSize size = window.canvas()->GetClientSize();
        if (window.draw()) {
            glReadBuffer(GL_BACK);
            lit = litPixels(size.x, size.y);
        }
        window.EndModal(wxID_CANCEL);
    });
    EdToolCommands::cmd3dPrinting();
    Ui3dPrint::setOpenedHook(nullptr);
    EXPECT_TRUE(opened);
    EXPECT_GE(samples, 0);
    EXPECT_GT(lit, 100);
    stop();
}
