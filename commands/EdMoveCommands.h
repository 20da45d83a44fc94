#pragma once

#include <functional>
#include <utility>
#include <vector>

class MnElement;

// Staff/Move up and down, Measure/Move left and right, Note/Move left and
// right: each moves the selected elements one place. A run of selected
// neighbours pressed against an edge stays where it is while every other
// selected element moves; when nothing can move, nothing is said.
class EdMoveCommands
{
public:
    static void cmdStaffMoveUp();
    static void cmdStaffMoveDown();
    static void cmdMeasureMoveLeft();
    static void cmdMeasureMoveRight();
    static void cmdNoteMoveLeft();
    static void cmdNoteMoveRight();

    static constexpr unsigned staffMoveUpId = 32846;
    static constexpr unsigned staffMoveDownId = 32845;
    static constexpr unsigned measureMoveLeftId = 32887;
    static constexpr unsigned measureMoveRightId = 32886;
    static constexpr unsigned noteMoveLeftId = 32890;
    static constexpr unsigned noteMoveRightId = 32891;

    // The order of a move: which container an element belongs to (elements
    // of different containers keep the order in which their containers
    // first appear), which of two elements of one container comes first in
    // the direction of the move, whether an element is at the edge, and
    // whether an element directly follows the one before it in that order.
    struct Order
    {
        std::function<std::pair<const void*, int>(MnElement*)> container;
        std::function<bool(MnElement*, MnElement*)> before;
        std::function<bool(MnElement*)> atEdge;
        std::function<bool(MnElement* previous, MnElement* element)> follows;
    };

    // Sorts the elements in the order of the move and answers, for each in
    // that order, whether it moves: an element at the edge is blocked, and
    // so is one that directly follows a blocked one.
    static std::vector<bool> sortAndDecide(std::vector<MnElement*>& elements, const Order& order);

    static void addRows();
};
