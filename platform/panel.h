// SPDX-License-Identifier: MIT
// A floating, non-activating panel as records: where it is, how it behaves, what it shows. A
// panel body (in memory for tests, a GTK popup on Linux) puts these records on screen and
// reports the user's moves, resizes and clicks back.
#pragma once

#include <functional>
#include <memory>

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

    // Called by the body when the user dragged or resized the panel.
    void userDidMove(Point origin);
    void userDidResize(Size size);

    void attachBody(std::unique_ptr<PanelBody> body);
    const PanelBody* body() const { return _body.get(); }

  private:
    void changed();

    Rect _frame;
    bool _visible = false;
    std::unique_ptr<PanelBody> _body;
};

}  // namespace kv
