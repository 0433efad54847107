// SPDX-License-Identifier: MIT
// A floating, non-activating panel as records: where it is, how it behaves, what it shows. A
// panel body (in memory for tests, a GTK popup on Linux) puts these records on screen and
// reports the user's moves, resizes and clicks back.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/accessible_element.h"
#include "platform/canvas.h"
#include "platform/color.h"
#include "platform/geometry.h"

namespace kv {

// What fills a panel: painted whole at every redraw, told of clicks in content coordinates.
class PanelContent {
  public:
    virtual ~PanelContent() = default;
    virtual void draw(Canvas& canvas, const Rect& bounds) const = 0;
    // A press of the primary button. Return true to let the user drag the panel by it.
    virtual bool mouseDown(Point point) = 0;
    // The pointer moved with the button held after a press that did not drag the panel, and
    // the button went up again.
    virtual void mouseDragged(Point) {}
    virtual void mouseUp(Point) {}
    // The wheel turned over the point: positive `deltaY` scrolls down (one notch is 1).
    virtual void scrollWheel(Point, double) {}
    // Whether a press at the point resizes a resizable panel instead of going to the content.
    virtual bool resizesAt(Point) const { return false; }
};

class Panel;

// The body that shows a panel; it hears of every change of the records.
class PanelBody {
  public:
    virtual ~PanelBody() = default;
    virtual void panelDidChange(const Panel& panel) = 0;
};

class Panel {
  public:
    enum class Level { Normal = 0, Floating = 3, Status = 25, PopUpMenu = 101 };

    explicit Panel(Size contentSize);
    Panel(const Panel&) = delete;
    Panel& operator=(const Panel&) = delete;

    const Rect& frame() const { return _frame; }
    bool isVisible() const { return _visible; }
    // Moves the panel; `didMove` hears of it, as of a move by the user.
    void setFrameOrigin(Point origin);
    void setContentSize(Size size);
    // Centres the panel on the main screen's visible frame.
    void center();
    void orderFront();
    void orderOut();
    // Asks the body to paint the content again.
    void setNeedsDisplay();

    Level level = Level::Floating;
    bool resizable = false;
    bool hidesOnDeactivate = false;
    bool becomesKeyOnlyIfNeeded = true;
    Size minSize;
    Color backgroundColor = Color::clear();
    bool opaque = false;
    PanelContent* content = nullptr;  // not owned
    std::function<void()> didMove;    // windowDidMove
    std::function<void()> didResize;  // windowDidResize: the content follows the new size
    // Set by the body: whether the screen composites windows, so that pixels left clear show
    // what lies below. Without it they show black, and shapes must fill their whole frame.
    bool screenComposites = true;
    // What the content reads as to assistive technology, from the same records it paints;
    // set by the panel's owner, asked by the body whenever the panel changes, shown or not
    // (parts of a hidden panel are read as not showing).
    std::function<std::vector<AccessibleElement>()> accessibleElements;

    // Called by the body when the user dragged or resized the panel.
    void userDidMove(Point origin);
    void userDidResize(Size size);
    // Called by the body when the window manager moved or resized the panel, from any edge:
    // the frame it reports is taken whole, within the minimum size.
    void userDidSetFrame(const Rect& frame);

    void attachBody(std::unique_ptr<PanelBody> body);
    const PanelBody* body() const { return _body.get(); }

  private:
    void changed();

    Rect _frame;
    bool _visible = false;
    std::unique_ptr<PanelBody> _body;
};

}  // namespace kv
