#include "render/ReGLShareGroup.h"

#include <memory>
#include <vector>

static std::vector<std::unique_ptr<ReGLShareGroup>>& groups()
{
    static std::vector<std::unique_ptr<ReGLShareGroup>> all;
    return all;
}

ReGLShareGroup* ReGLShareGroup::find(const void* key)
{
    for (const auto& group : groups()) {
        if (group->key == key)
            return group.get();
    }
    return nullptr;
}

ReGLShareGroup* ReGLShareGroup::add(const void* key)
{
    groups().push_back(std::make_unique<ReGLShareGroup>());
    groups().back()->key = key;
    return groups().back().get();
}
