#include "model/MnWork.h"

#include "foundation/BcFiler.h"

BC_IMPLEMENT_CREATABLE_CLASS(MnWork)

MnElement* MnWork::parent() const
{
    return nullptr;
}

bool MnWork::read(BcFiler& filer)
{
    BcString* fields[] = {&title, &subtitle, &composer, &arranger, &lyricist, &copyright};
    for (BcString* field : fields) {
        BcString value;
        if (!filer.readString(value))
            return false;
        *field = value;
    }
    return filer.isOk();
}

bool MnWork::write(BcFiler& filer) const
{
    const BcString* fields[] = {&title, &subtitle, &composer, &arranger, &lyricist, &copyright};
    for (const BcString* field : fields)
        filer.writeString(*field);
    return filer.isOk();
}

GePoint2d MnWork::position() const
{
    return GePoint2d();
}

double MnWork::width() const
{
    return 0.0;
}

double MnWork::height() const
{
    return 0.0;
}

bool MnWork::moveTo(const GePoint2d&)
{
    return false;
}
