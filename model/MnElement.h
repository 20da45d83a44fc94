#pragma once

#include "foundation/BcArray.h"
#include "foundation/BcFiler.h"
#include "foundation/BcObject.h"
#include "foundation/GePoint2d.h"

class EdGuideLine;
class EdPath;

// Base of every element of the notation model. Each concrete class keeps the
// pointer to its owner in a field of its own and answers parent() from it;
// an element owns its children and deletes them in its destructor. When an
// element dies it tells the installed death hook, through which the editing
// layer takes it out of every live selection (EdSelection).
//
// Positions are relative to the parent, in the parent's units (staff steps
// for staff content, millimetres on paper).
class MnElement : public BcObject
{
    BC_DECLARE_CLASS(MnElement)
public:
    // Told of every element that dies, while its MnElement part still exists.
    typedef void (*DeathHook)(MnElement* element);

    MnElement() = default;
    // Tells the death hook; derived destructors delete their children first,
    // so the hook hears of children before their parent.
    ~MnElement() override;
    MnElement(const MnElement&) = delete;
    MnElement& operator=(const MnElement&) = delete;

    virtual MnElement* parent() const = 0;
    // Deletes the child when this element owns it and may remove it.
    virtual bool removeChild(MnElement* child);
    // The element's persistent record, in the layout of the filer's version.
    // Both answer the filer's success; a reader stops at its first failed read.
    virtual bool read(BcFiler& filer);
    virtual bool write(BcFiler& filer) const;
    virtual GePoint2d position() const = 0;
    virtual double width() const = 0;
    virtual double height() const = 0;
    // Drags the element to a point in the frame of position(); true when
    // anything changed.
    virtual bool moveTo(const GePoint2d& point) = 0;
    // The drag pair for elements whose drag depends on the picked drawing;
    // the path names it and may be null.
    virtual GePoint2d dragPosition(const EdPath* path) const;
    virtual bool dragTo(const GePoint2d& point, const EdPath* path);
    // Appends the snapping guide lines that a drag of this element shows; the
    // caller owns them.
    virtual bool addGuideLines(BcArray<EdGuideLine*>& lines, const EdPath* path);
    // Appends the points to which other dragged elements snap.
    virtual bool addSnapPoints(BcArray<GePoint2d>& points);
    // The element that a pick of this element's drawing selects.
    virtual MnElement* selectionTarget(const EdPath* path);
    // A point of this element's frame on the page, composed up the parents.
    virtual GePoint2d toPageCoordinates(const GePoint2d& point, const EdPath* path) const;
    virtual double scale() const;

    // Deep copy of the persistent state of another element of exactly the
    // same class, through a memory filer. False, with nothing changed, for
    // another class (a derived one included) or when the other cannot write.
    bool copyFrom(const MnElement* other);

    // Installs the hook that every dying element tells and answers the one it
    // replaces; null installs none. Safe on any thread.
    static DeathHook installDeathHook(DeathHook hook);

    // How a record files the count of the records that follow it.
    enum CountField
    {
        CountInt,
        CountChar,
        CountByte,
    };
    // Reads the count of the records that follow: false, with the count
    // untouched, when the read fails or the count lies outside 0..limit,
    // so that no damaged file drives a reader's loop. Every count that a
    // record holds is read through it.
    static bool readCount(BcFiler& filer, int limit, int& count, CountField field = CountInt)
    {
        int value = 0;
        if (field == CountInt) {
            if (!filer.readInt(value))
                return false;
        } else if (field == CountChar) {
            char stored = 0;
            if (!filer.readChar(stored))
                return false;
            value = static_cast<signed char>(stored);
        } else {
            unsigned char stored = 0;
            if (!filer.readByte(stored))
                return false;
            value = stored;
        }
        if (value < 0 || value > limit)
            return false;
        count = value;
        return true;
    }

    // Both coordinates lie within the coordinate range.
    static bool isPosition(const GePoint2d& point);

protected:
    // Reads a point as its two coordinates; false, with the point untouched,
    // when either read fails or either coordinate is out of range.
    static bool readPoint(BcFiler& filer, GePoint2d& point);
    // Whether a drag from one point to another moves anything: points less
    // than a ten-billionth of a unit apart count as the same place.
    static bool isMove(const GePoint2d& from, const GePoint2d& to);
};

// The index of an element in an array of a class derived from MnElement, by
// pointer, without assuming that the element is of that class; -1 when absent.
template <typename T>
int mnIndexOf(const BcArray<T*>& array, const MnElement* element)
{
    for (int i = 0; i < array.count(); ++i) {
        if (static_cast<const MnElement*>(array[i]) == element)
            return i;
    }
    return -1;
}
