#include "foundation/BcClassManager.h"

#include "foundation/BcClassImplementation.h"
#include "foundation/BcClassRegistration.h"
#include "foundation/BcClassTable.h"

static BcClassManager* singleton = nullptr;

BC_IMPLEMENT_CLASS(BcClassManager)

BcClassManager::BcClassManager() = default;

BcClassManager::~BcClassManager()
{
    for (int i = 0; i < registrations.count(); ++i)
        delete registrations[i];
    for (int i = 0; i < classes.count(); ++i)
        delete classes[i];
}

BcClassManager* BcClassManager::instance()
{
    if (!singleton) {
        singleton = new BcClassManager();
        BcClassTable::registerAll(*singleton);
    }
    return singleton;
}

void BcClassManager::deleteInstance()
{
    delete singleton;
    singleton = nullptr;
}

void BcClassManager::registerClass(BcString name, BcString baseName, BcClassFactory factory)
{
    BcClassRegistration* registration = new BcClassRegistration;
    registration->name = name;
    registration->baseName = baseName;
    registration->factory = factory;
    registrations.add(registration);
}

void BcClassManager::linkClasses()
{
    for (int i = classes.count(); i < registrations.count(); ++i)
        classes.add(new BcClassImplementation(registrations[i]->name, registrations[i]->factory));
    // Only after every class object exists, so that forward bases are found.
    for (int i = 0; i < registrations.count(); ++i) {
        if (!registrations[i]->baseName.isEmpty())
            classes[i]->setBase(findClass(registrations[i]->baseName));
    }
}

const BcClass* BcClassManager::findClass(BcString name) const
{
    for (int i = classes.count() - 1; i >= 0; --i) {
        if (classes[i]->hasName(name))
            return classes[i];
    }
    return nullptr;
}

int BcClassManager::classCount() const
{
    return classes.count();
}

const BcClass* BcClassManager::classAt(int index) const
{
    if (index < 0 || index >= classes.count())
        return nullptr;
    return classes[index];
}

int BcClassManager::registrationCount() const
{
    return registrations.count();
}
