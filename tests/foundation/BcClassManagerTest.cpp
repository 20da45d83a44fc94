#include "foundation/BcClass.h"
#include "foundation/BcClassManager.h"
#include "foundation/BcClassTable.h"

#include "common/TestPrinters.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

static const BcClass* classNamed(const char* name)
{
    return BcClassManager::instance()->findClass(BcString(name));
}

static std::vector<std::string> baseChain(const char* name)
{
    std::vector<std::string> chain;
    const BcClass* cls = classNamed(name);
    for (cls = cls ? cls->baseClass() : nullptr; cls; cls = cls->baseClass())
        chain.push_back(cls->name().toNarrow(BcString::utf8CodePage));
    return chain;
}

// Stands in for an object of a registered class that another part of the
// system builds: it answers the class object of that name.
class StandIn : public BcObject
{
public:
    explicit StandIn(const char* name) : className(name) {}
    const BcClass* dynamicClass() const override { return classNamed(className); }

private:
    const char* className;
};

// Derives from a registered class without being registered itself.
class UnregisteredClass : public BcClassManager
{
};

TEST(BcClassManager, HoldsTheTableInOrder)
{
    BcClassManager* registry = BcClassManager::instance();
    ASSERT_EQ(BcClassTable::count(), 79);
    ASSERT_EQ(registry->classCount(), 79);
    int withFactory = 0;
    for (int i = 0; i < registry->classCount(); ++i) {
        const BcClassTable::Entry& row = BcClassTable::entry(i);
        EXPECT_EQ(registry->classAt(i)->name(), BcString(row.name)) << i;
        if (row.hasFactory)
            ++withFactory;
        else
            EXPECT_EQ(row.factory, nullptr) << row.name;
    }
    EXPECT_EQ(withFactory, 36);
    EXPECT_EQ(registry->classAt(0)->name(), BcString("BcClass"));
    EXPECT_EQ(registry->classAt(78)->name(), BcString("ReParallax"));
    EXPECT_EQ(registry->classAt(79), nullptr);
    EXPECT_STREQ(BcClassTable::entry(79).name, "");
}

TEST(BcClassManager, EveryBaseNameIsRegistered)
{
    for (int i = 0; i < BcClassTable::count(); ++i) {
        const BcClassTable::Entry& row = BcClassTable::entry(i);
        const BcClass* cls = classNamed(row.name);
        ASSERT_NE(cls, nullptr) << row.name;
        if (std::string(row.baseName) == "NULL")
            EXPECT_EQ(cls->baseClass(), nullptr) << row.name;
        else
            EXPECT_EQ(cls->baseClass(), classNamed(row.baseName)) << row.name;
    }
}

TEST(BcClassManager, FindsByExactName)
{
    EXPECT_EQ(classNamed("NULL"), nullptr);
    EXPECT_EQ(classNamed(""), nullptr);
    EXPECT_EQ(classNamed("mnnote"), nullptr);
    EXPECT_EQ(classNamed("MnNote "), nullptr);
    const BcClass* root = classNamed("BcObject");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->baseClass(), nullptr);
    EXPECT_EQ(root, BcObject::staticClass());
    EXPECT_EQ(BcObject::staticClass(), BcObject::staticClass());
}

TEST(BcClassManager, BaseChains)
{
    EXPECT_EQ(baseChain("MnStaffChange"), (std::vector<std::string>{"MnStaffDefinition", "MnElement", "BcObject"}));
    EXPECT_EQ(baseChain("ReBitmap"), (std::vector<std::string>{"ReOpenGL", "ReRenderer", "EdSelection", "BcObject"}));
    // Derived classes registered before their base are still linked to it.
    EXPECT_EQ(baseChain("MnMeasureNumber"), (std::vector<std::string>{"MnText", "MnElement", "BcObject"}));
    EXPECT_EQ(baseChain("MpMIDI"), (std::vector<std::string>{"MpPerformer", "BcObject"}));
    EXPECT_TRUE(baseChain("BcClassManager").empty());
    EXPECT_TRUE(baseChain("BcObject").empty());
}

TEST(BcClassManager, ClassRelations)
{
    const BcClass* note = classNamed("MnNote");
    ASSERT_NE(note, nullptr);
    EXPECT_FALSE(note->isDerivedFrom(note));
    EXPECT_TRUE(note->isKindOf(note));
    EXPECT_TRUE(note->isDerivedFrom(classNamed("MnElement")));
    EXPECT_TRUE(note->isDerivedFrom(classNamed("BcObject")));
    EXPECT_FALSE(note->isDerivedFrom(classNamed("MnChord")));
    EXPECT_FALSE(note->isDerivedFrom(nullptr));

    const char* texts[] = {"MnTuplet", "MnPart", "MnPartGroup", "MnTempo", "MnTablature", "MnLyric", "MnCredit", "MnMeasureNumber"};
    for (const char* name : texts)
        EXPECT_TRUE(classNamed(name)->isDerivedFrom(classNamed("MnText"))) << name;
}

TEST(BcClassManager, TypeTests)
{
    StandIn note("MnNote");
    EXPECT_TRUE(note.isKindOf(classNamed("MnNote")));
    EXPECT_TRUE(note.isKindOf(classNamed("MnElement")));
    EXPECT_TRUE(note.isKindOf(BcObject::staticClass()));
    EXPECT_FALSE(note.isKindOf(classNamed("MnChord")));
    EXPECT_FALSE(note.isKindOf(nullptr));

    StandIn bitmap("ReBitmap");
    EXPECT_TRUE(bitmap.isKindOf(classNamed("EdSelection")));
    EXPECT_FALSE(bitmap.isKindOf(classNamed("ReComposer")));

    // The registry derives from BcObject in C++ but registers no base.
    BcClassManager* registry = BcClassManager::instance();
    EXPECT_EQ(registry->dynamicClass(), BcClassManager::staticClass());
    EXPECT_TRUE(registry->isKindOf(BcClassManager::staticClass()));
    EXPECT_FALSE(registry->isKindOf(BcObject::staticClass()));

    // Unregistered classes answer their nearest registered base.
    UnregisteredClass unregistered;
    EXPECT_EQ(unregistered.dynamicClass(), BcClassManager::staticClass());
    const BcClass* classObject = classNamed("MnNote");
    EXPECT_EQ(classObject->dynamicClass(), BcClass::staticClass());
    EXPECT_EQ(BcClass::staticClass(), classNamed("BcClass"));
    EXPECT_TRUE(classObject->BcObject::isKindOf(BcObject::staticClass()));

    BcObject plain;
    EXPECT_EQ(plain.dynamicClass(), BcObject::staticClass());
    EXPECT_TRUE(plain.isKindOf(BcObject::staticClass()));
}

TEST(BcClassManager, CreateObjectFollowsTheFactory)
{
    EXPECT_EQ(classNamed("MnChord")->createObject(), nullptr);
    EXPECT_EQ(classNamed("BcObject")->createObject(), nullptr);
    int created = 0;
    for (int i = 0; i < BcClassTable::count(); ++i) {
        const BcClassTable::Entry& row = BcClassTable::entry(i);
        BcObject* object = classNamed(row.name)->createObject();
        if (!row.factory) {
            EXPECT_EQ(object, nullptr) << row.name;
            continue;
        }
        ASSERT_NE(object, nullptr) << row.name;
        EXPECT_EQ(object->dynamicClass(), classNamed(row.name)) << row.name;
        delete object;
        ++created;
    }
    EXPECT_LE(created, 36);
}

static BcObject* makePlainObject()
{
    return new BcObject();
}

TEST(BcClassManager, LinkingALocalRegistry)
{
    BcClassManager local;
    EXPECT_EQ(local.classCount(), 0);
    local.registerClass("Derived", "Base", nullptr);
    local.registerClass("Base", "NULL", &makePlainObject);
    local.registerClass("Orphan", "Missing", nullptr);
    local.registerClass("Twice", "", nullptr);
    local.registerClass("Twice", "Base", nullptr);
    // Nothing is found before linking.
    EXPECT_EQ(local.registrationCount(), 5);
    EXPECT_EQ(local.classCount(), 0);
    EXPECT_EQ(local.findClass("Base"), nullptr);

    local.linkClasses();
    ASSERT_EQ(local.classCount(), 5);
    const BcClass* base = local.findClass("Base");
    const BcClass* derived = local.findClass("Derived");
    ASSERT_NE(base, nullptr);
    EXPECT_EQ(derived->baseClass(), base);
    EXPECT_EQ(local.findClass("Orphan")->baseClass(), nullptr);
    // The later of two registrations of one name wins.
    EXPECT_EQ(local.findClass("Twice"), local.classAt(4));
    EXPECT_EQ(local.classAt(3)->baseClass(), nullptr);

    BcObject* made = base->createObject();
    ASSERT_NE(made, nullptr);
    delete made;
    EXPECT_EQ(derived->createObject(), nullptr);

    // Linking again makes no second set of class objects.
    local.linkClasses();
    EXPECT_EQ(local.classCount(), 5);
    EXPECT_EQ(local.findClass("Base"), base);
}

// Uses the per-class macros under a name that the table does not list.
class UnlistedClass : public BcObject
{
    BC_DECLARE_CREATABLE_CLASS(UnlistedClass)
};

BC_IMPLEMENT_CREATABLE_CLASS(UnlistedClass)

TEST(BcClassManager, ClassWithoutRegistration)
{
    EXPECT_EQ(UnlistedClass::staticClass(), nullptr);
    EXPECT_EQ(UnlistedClass::staticClass(), nullptr); // looked up again, still nothing
    BcObject* made = UnlistedClass::newInstance();
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->dynamicClass(), nullptr);
    // An object without a class object passes no type test.
    EXPECT_FALSE(made->isKindOf(BcObject::staticClass()));
    EXPECT_FALSE(made->isKindOf(UnlistedClass::staticClass()));
    delete made;
}
