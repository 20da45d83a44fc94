#include "platform/PlOffscreenContext.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <memory>

TEST(PlOffscreenContext, drawsIntoItsOwnFramebufferWithoutADisplay)
{
    std::unique_ptr<PlOffscreenContext> context(PlOffscreenContext::create(64, 32));
    ASSERT_NE(context, nullptr);
    EXPECT_FALSE(context->isCurrent());
    ASSERT_TRUE(context->makeCurrent());
    EXPECT_TRUE(context->isCurrent());
    EXPECT_NE(context->procAddress("glGenFramebuffers"), nullptr);
    EXPECT_EQ(context->procAddress(nullptr), nullptr);

    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    context->swapBuffers();
    unsigned char corner[4] = {};
    glReadPixels(63, 31, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, corner);
    EXPECT_EQ(corner[0], 255);
    EXPECT_EQ(corner[1], 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(PlOffscreenContext, contextsShareOneGroupAndSwitch)
{
    std::unique_ptr<PlOffscreenContext> first(PlOffscreenContext::create(8, 8));
    std::unique_ptr<PlOffscreenContext> second(PlOffscreenContext::create(8, 8));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(first->shareGroup(), second->shareGroup());

    // A texture made in one context is there in the other.
    ASSERT_TRUE(first->makeCurrent());
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    ASSERT_TRUE(second->makeCurrent());
    EXPECT_FALSE(first->isCurrent());
    EXPECT_TRUE(glIsTexture(texture));

    // A context that dies while current leaves none current.
    second.reset();
    EXPECT_FALSE(first->isCurrent());
    ASSERT_TRUE(first->makeCurrent());
}

TEST(PlOffscreenContext, refusesSizesItCannotHold)
{
    EXPECT_EQ(PlOffscreenContext::create(0, 10), nullptr);
    EXPECT_EQ(PlOffscreenContext::create(10, -1), nullptr);
    EXPECT_EQ(PlOffscreenContext::create(1 << 20, 10), nullptr);
}
