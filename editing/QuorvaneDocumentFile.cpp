// The score file and the works block of QuorvaneDocument.
#include "editing/QuorvaneDocument.h"

#include "editing/EdContext.h"
#include "foundation/BcMemoryFiler.h"
#include "model/MnElement.h"
#include "model/MnLimits.h"
#include "model/MnScore.h"
#include "model/MnSheetMusic.h"
#include "model/MnWork.h"

#include <cmath>
#include <cstring>

// String 10066: the file was saved with a newer version.
static const unsigned int newerVersionMessage = 10066;

// Eight ints per folded browser item.
static const int pathBytes = EdPath::valueCount * 4;

bool QuorvaneDocument::writeWorks(BcMemoryFiler& filer) const
{
    bool ok = filer.writeInt(workList.count());
    for (int i = 0; i < workList.count() && ok; ++i) {
        MnElement* work = workList[i];
        if (i > 0)
            filer.writeBool(work->isKindOf(MnSheetMusic::staticClass()));
        ok = work->write(filer);
        filer.writeInt(drawingOrder.indexOf(work));
    }
    filer.writeInt(mainIndex);
    filer.writeInt(collapsedPaths.count());
    for (int i = 0; i < collapsedPaths.count(); ++i) {
        for (int value : collapsedPaths[i].values)
            filer.writeInt(value);
    }
    return ok && filer.isOk();
}

static int bytesLeft(BcMemoryFiler& filer)
{
    return filer.bytes().count() - filer.position();
}

bool QuorvaneDocument::readWorks(BcMemoryFiler& filer)
{
    // The work information comes first, so there is always at least one.
    int count = 0;
    if (!MnElement::readCount(filer, MnMaxRecordCount, count) || count < 1)
        return false;

    // Everything is read into fresh arrays and checked before the document's
    // own works are touched, so a damaged block leaves the document as it was.
    BcArray<MnElement*> works(8);
    BcArray<int> positions(8);
    bool ok = true;
    for (int i = 0; i < count && ok; ++i) {
        MnElement* work = nullptr;
        if (i == 0) {
            work = static_cast<MnElement*>(MnWork::newInstance());
        } else {
            bool isSheet = false;
            if (!filer.readBool(isSheet)) {
                ok = false;
                break;
            }
            if (isSheet)
                work = new MnSheetMusic();
            else
                work = new MnScore();
        }
        works.add(work);
        int position = -1;
        ok = work->read(filer) && filer.readInt(position);
        positions.add(position);
    }

    // Display positions must be a permutation of the works, with the work
    // information first.
    BcArray<MnElement*> order(8);
    if (ok) {
        order.setCapacity(count);
        order.setSize(count);
        for (int i = 0; i < count; ++i)
            order[i] = nullptr;
        for (int i = 0; i < count && ok; ++i) {
            int position = positions[i];
            if (position < 0 || position >= count || order[position] != nullptr ||
                (i == 0) != (position == 0))
                ok = false;
            else
                order[position] = works[i];
        }
    }

    int main = -1;
    if (ok)
        ok = filer.readInt(main) && (main == -1 || (main >= 1 && main < count));

    BcArray<EdPath> folded(8);
    if (ok && filer.version() >= 4) {
        int foldedCount = 0;
        ok = MnElement::readCount(filer, bytesLeft(filer) / pathBytes, foldedCount);
        for (int i = 0; i < foldedCount && ok; ++i) {
            EdPath path;
            for (int& value : path.values)
                ok = ok && filer.readInt(value);
            folded.add(path);
        }
    }
    ok = ok && filer.isOk();

    if (!ok) {
        deleteWorks(works);
        return false;
    }
    BcArray<MnElement*> old = std::move(workList);
    workList = std::move(works);
    drawingOrder = std::move(order);
    mainIndex = main;
    collapsedPaths = std::move(folded);
    deleteWorks(old);
    return true;
}

bool QuorvaneDocument::saveScoreBytes(BcArray<unsigned char>& out)
{
    BcMemoryFiler filer(EdScoreFile::formatVersion);
    if (!writeWorks(filer))
        return false;
    EdScoreFile::Camera camera;
    camera.scrollX = scroll.x;
    camera.scrollY = scroll.y;
    camera.zoom = zoomFactor;
    BcArray<unsigned char> image(1024);
    image.setCapacity(filer.bytes().count() + EdScoreFile::headerSize + EdScoreFile::cameraSize);
    EdScoreFile::compose(filer.bytes().data(), filer.bytes().count(), camera, image);
    out = std::move(image);
    return true;
}

bool QuorvaneDocument::saveScore(const BcString& path)
{
    BcArray<unsigned char> image;
    if (!saveScoreBytes(image))
        return false;
    return EdScoreFile::writeFile(path, image.data(), image.count());
}

bool QuorvaneDocument::loadScoreBytes(const unsigned char* bytes, int size, bool silent)
{
    int version = 0;
    int bodyOffset = 0;
    int bodySize = 0;
    EdScoreFile::Camera camera;
    switch (EdScoreFile::split(bytes, size, version, bodyOffset, bodySize, camera)) {
    case EdScoreFile::opened:
        break;
    case EdScoreFile::newerVersion:
        if (!silent)
            EdContext::current().showInformation(newerVersionMessage);
        return false;
    case EdScoreFile::notScoreFile:
    case EdScoreFile::truncated:
        return false;
    }

    BcMemoryFiler filer(version);
    filer.bytes().setSize(bodySize);
    if (bodySize > 0)
        std::memcpy(filer.bytes().data(), bytes + bodyOffset, static_cast<size_t>(bodySize));
    if (!readWorks(filer))
        return false;

    // The view divides by the zoom: a damaged camera falls back to the
    // camera of a new document rather than failing the whole open.
    EdScoreFile::Camera fallback;
    if (!std::isfinite(camera.scrollX) || !std::isfinite(camera.scrollY)) {
        camera.scrollX = fallback.scrollX;
        camera.scrollY = fallback.scrollY;
    }
    if (!std::isfinite(camera.zoom) || camera.zoom <= 0.0)
        camera.zoom = fallback.zoom;
    setCamera(GePoint2d(camera.scrollX, camera.scrollY), camera.zoom);
    return true;
}

bool QuorvaneDocument::loadScore(const BcString& path, bool silent)
{
    BcArray<unsigned char> image;
    if (!EdScoreFile::readFile(path, image))
        return false;
    return loadScoreBytes(image.data(), image.count(), silent);
}
