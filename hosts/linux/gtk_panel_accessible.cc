// SPDX-License-Identifier: MIT
#include "hosts/linux/gtk_panel_accessible.h"

#include <gtk/gtk-a11y.h>

#include <algorithm>
#include <functional>
#include <string>

namespace kv {

struct GtkPanelAccessibility::Node {
    AccessibleElement record;     // its children live in `children`
    AtkObject* object = nullptr;  // one reference, given up when the part goes
    std::vector<std::unique_ptr<Node>> children;
    GtkPanelAccessibility* owner = nullptr;
    int index = 0;
};

}  // namespace kv

namespace {

using kv::AccessibleElement;
using Node = kv::GtkPanelAccessibility::Node;

// ---- One part: a list item, a label, a button; a list also answers for its selection.

struct KVAccessiblePart {
    AtkObject parent;
    Node* node;  // null once the part is gone: the object is then defunct
};

struct KVAccessiblePartClass {
    AtkObjectClass parent;
};

void kv_accessible_part_component_init(AtkComponentIface* iface);
void kv_accessible_part_action_init(AtkActionIface* iface);

G_DEFINE_TYPE_WITH_CODE(KVAccessiblePart, kv_accessible_part, ATK_TYPE_OBJECT,
                        G_IMPLEMENT_INTERFACE(ATK_TYPE_COMPONENT, kv_accessible_part_component_init)
                            G_IMPLEMENT_INTERFACE(ATK_TYPE_ACTION, kv_accessible_part_action_init))

Node* NodeOf(gpointer object) {
    return reinterpret_cast<KVAccessiblePart*>(object)->node;
}

void kv_accessible_part_init(KVAccessiblePart* self) {
    self->node = nullptr;
}

// What a part or the panel answers for its children; none once it is gone.
gint ChildCount(const std::vector<std::unique_ptr<Node>>* children) {
    return children != nullptr ? static_cast<gint>(children->size()) : 0;
}

AtkObject* RefChild(const std::vector<std::unique_ptr<Node>>* children, gint index) {
    if (children == nullptr || index < 0 || static_cast<std::size_t>(index) >= children->size()) {
        return nullptr;
    }
    return ATK_OBJECT(g_object_ref((*children)[static_cast<std::size_t>(index)]->object));
}

const std::vector<std::unique_ptr<Node>>* ChildrenOfPart(AtkObject* object) {
    const Node* const node = NodeOf(object);
    return node != nullptr ? &node->children : nullptr;
}

gint PartChildCount(AtkObject* object) {
    return ChildCount(ChildrenOfPart(object));
}

AtkObject* PartChild(AtkObject* object, gint index) {
    return RefChild(ChildrenOfPart(object), index);
}

gint PartIndex(AtkObject* object) {
    const Node* const node = NodeOf(object);
    return node != nullptr ? node->index : -1;
}

AtkStateSet* PartStates(AtkObject* object) {
    AtkStateSet* const states =
        ATK_OBJECT_CLASS(kv_accessible_part_parent_class)->ref_state_set(object);
    const Node* const node = NodeOf(object);
    if (node == nullptr) {
        atk_state_set_add_state(states, ATK_STATE_DEFUNCT);
        return states;
    }
    atk_state_set_add_state(states, ATK_STATE_ENABLED);
    atk_state_set_add_state(states, ATK_STATE_SENSITIVE);
    if (gtk_widget_get_mapped(node->owner->area())) {
        atk_state_set_add_state(states, ATK_STATE_VISIBLE);
        atk_state_set_add_state(states, ATK_STATE_SHOWING);
    }
    if (node->record.role == AccessibleElement::Role::ListItem) {
        atk_state_set_add_state(states, ATK_STATE_SELECTABLE);
        if (node->record.selected) {
            atk_state_set_add_state(states, ATK_STATE_SELECTED);
            // A screen reader speaks the list's new active item only when it has the focus,
            // which a window that never takes the keyboard can give in no other way.
            atk_state_set_add_state(states, ATK_STATE_FOCUSED);
        }
    }
    if (node->record.role == AccessibleElement::Role::List) {
        atk_state_set_add_state(states, ATK_STATE_MANAGES_DESCENDANTS);
    }
    return states;
}

void kv_accessible_part_class_init(KVAccessiblePartClass* klass) {
    AtkObjectClass* const atk = ATK_OBJECT_CLASS(klass);
    atk->get_n_children = PartChildCount;
    atk->ref_child = PartChild;
    atk->get_index_in_parent = PartIndex;
    atk->ref_state_set = PartStates;
}

void PartExtents(AtkComponent* component, gint* x, gint* y, gint* width, gint* height,
                 AtkCoordType coords) {
    *x = *y = *width = *height = -1;
    const Node* const node = NodeOf(component);
    if (node == nullptr) {
        return;
    }
    GtkWidget* const area = node->owner->area();
    GdkWindow* const window = gtk_widget_get_window(area);
    if (window == nullptr) {
        return;
    }
    // Content points count from the bottom-left corner, the area's from the top-left.
    const kv::Rect& frame = node->record.frame;
    const int left = static_cast<int>(frame.minX());
    const int top = static_cast<int>(node->owner->height() - frame.maxY());
    int originX = 0;
    int originY = 0;
    if (coords == ATK_XY_SCREEN) {
        gdk_window_get_origin(window, &originX, &originY);
    } else if (coords == ATK_XY_WINDOW) {
        gtk_widget_translate_coordinates(area, gtk_widget_get_toplevel(area), 0, 0, &originX,
                                         &originY);
    }
    *x = originX + left;
    *y = originY + top;
    *width = static_cast<int>(frame.width());
    *height = static_cast<int>(frame.height());
}

void kv_accessible_part_component_init(AtkComponentIface* iface) {
    iface->get_extents = PartExtents;
}

gint PartActionCount(AtkAction* action) {
    const Node* const node = NodeOf(action);
    return node != nullptr && node->record.press ? 1 : 0;
}

const gchar* PartActionName(AtkAction* action, gint index) {
    return index == 0 && PartActionCount(action) == 1 ? "click" : nullptr;
}

gboolean PartDoAction(AtkAction* action, gint index) {
    if (index != 0 || PartActionCount(action) != 1) {
        return FALSE;
    }
    // A copy: the press may change the panel, and with it this part's record.
    const std::function<void()> press = NodeOf(action)->record.press;
    press();
    return TRUE;
}

void kv_accessible_part_action_init(AtkActionIface* iface) {
    iface->get_n_actions = PartActionCount;
    iface->get_name = PartActionName;
    iface->do_action = PartDoAction;
}

// ---- A list: its selection is its selected items.

struct KVAccessibleList {
    KVAccessiblePart parent;
};

struct KVAccessibleListClass {
    KVAccessiblePartClass parent;
};

void kv_accessible_list_selection_init(AtkSelectionIface* iface);

G_DEFINE_TYPE_WITH_CODE(KVAccessibleList, kv_accessible_list, kv_accessible_part_get_type(),
                        G_IMPLEMENT_INTERFACE(ATK_TYPE_SELECTION,
                                              kv_accessible_list_selection_init))

void kv_accessible_list_init(KVAccessibleList*) {}
void kv_accessible_list_class_init(KVAccessibleListClass*) {}

// The `n`-th selected item, or null.
Node* SelectedItem(AtkSelection* selection, gint n) {
    Node* const node = NodeOf(selection);
    if (node == nullptr) {
        return nullptr;
    }
    for (const std::unique_ptr<Node>& child : node->children) {
        if (child->record.selected && n-- == 0) {
            return child.get();
        }
    }
    return nullptr;
}

AtkObject* ListSelected(AtkSelection* selection, gint n) {
    const Node* const item = SelectedItem(selection, n);
    return item != nullptr ? ATK_OBJECT(g_object_ref(item->object)) : nullptr;
}

gint ListSelectedCount(AtkSelection* selection) {
    gint count = 0;
    while (SelectedItem(selection, count) != nullptr) {
        ++count;
    }
    return count;
}

gboolean ListIsSelected(AtkSelection* selection, gint index) {
    const Node* const node = NodeOf(selection);
    return node != nullptr && index >= 0 &&
                   static_cast<std::size_t>(index) < node->children.size() &&
                   node->children[static_cast<std::size_t>(index)]->record.selected
               ? TRUE
               : FALSE;
}

// The highlight follows the keys and the pointer; a reader does not move it.
gboolean ListRefusesSelection(AtkSelection*, gint) {
    return FALSE;
}

void kv_accessible_list_selection_init(AtkSelectionIface* iface) {
    iface->ref_selection = ListSelected;
    iface->get_selection_count = ListSelectedCount;
    iface->is_child_selected = ListIsSelected;
    iface->add_selection = ListRefusesSelection;
    iface->remove_selection = ListRefusesSelection;
}

// ---- The drawing area and its accessible, whose children are the parts.

struct KVPanelAccessible {
    GtkWidgetAccessible parent;
    kv::GtkPanelAccessibility* owner;
};

struct KVPanelAccessibleClass {
    GtkWidgetAccessibleClass parent;
};

G_DEFINE_TYPE(KVPanelAccessible, kv_panel_accessible, GTK_TYPE_WIDGET_ACCESSIBLE)

void kv_panel_accessible_init(KVPanelAccessible* self) {
    self->owner = nullptr;
}

kv::GtkPanelAccessibility* OwnerOf(AtkObject* object) {
    return reinterpret_cast<KVPanelAccessible*>(object)->owner;
}

const std::vector<std::unique_ptr<Node>>* ChildrenOfPanel(AtkObject* object) {
    const kv::GtkPanelAccessibility* const owner = OwnerOf(object);
    return owner != nullptr ? &owner->parts() : nullptr;
}

gint PanelChildCount(AtkObject* object) {
    return ChildCount(ChildrenOfPanel(object));
}

AtkObject* PanelChild(AtkObject* object, gint index) {
    return RefChild(ChildrenOfPanel(object), index);
}

void kv_panel_accessible_class_init(KVPanelAccessibleClass* klass) {
    AtkObjectClass* const atk = ATK_OBJECT_CLASS(klass);
    atk->get_n_children = PanelChildCount;
    atk->ref_child = PanelChild;
}

struct KVAccessibleArea {
    GtkDrawingArea parent;
};

struct KVAccessibleAreaClass {
    GtkDrawingAreaClass parent;
};

G_DEFINE_TYPE(KVAccessibleArea, kv_accessible_area, GTK_TYPE_DRAWING_AREA)

void kv_accessible_area_init(KVAccessibleArea*) {}

void kv_accessible_area_class_init(KVAccessibleAreaClass* klass) {
    gtk_widget_class_set_accessible_type(GTK_WIDGET_CLASS(klass), kv_panel_accessible_get_type());
    gtk_widget_class_set_accessible_role(GTK_WIDGET_CLASS(klass), ATK_ROLE_PANEL);
}

AtkRole RoleOf(AccessibleElement::Role role) {
    switch (role) {
        case AccessibleElement::Role::List:
            return ATK_ROLE_LIST;
        case AccessibleElement::Role::ListItem:
            return ATK_ROLE_LIST_ITEM;
        case AccessibleElement::Role::Label:
            return ATK_ROLE_LABEL;
        case AccessibleElement::Role::PushButton:
            return ATK_ROLE_PUSH_BUTTON;
        case AccessibleElement::Role::Status:
            return ATK_ROLE_STATUSBAR;
    }
    return ATK_ROLE_UNKNOWN;
}

}  // namespace

namespace kv {

namespace {

using Nodes = std::vector<std::unique_ptr<Node>>;

void Sync(GtkPanelAccessibility& owner, AtkObject* parent, Nodes& nodes,
          const std::vector<AccessibleElement>& records);

std::unique_ptr<Node> MakeNode(GtkPanelAccessibility& owner, AtkObject* parent,
                               const AccessibleElement& record, int index) {
    auto node = std::make_unique<Node>();
    node->owner = &owner;
    node->index = index;
    node->record = record;
    node->record.children.clear();
    const GType type = record.role == AccessibleElement::Role::List ? kv_accessible_list_get_type()
                                                                    : kv_accessible_part_get_type();
    node->object = ATK_OBJECT(g_object_new(type, nullptr));
    reinterpret_cast<KVAccessiblePart*>(node->object)->node = node.get();
    atk_object_initialize(node->object, nullptr);
    atk_object_set_role(node->object, RoleOf(record.role));
    atk_object_set_name(node->object, record.name.c_str());
    if (!record.tooltip.empty() && record.tooltip != record.name) {
        atk_object_set_description(node->object, record.tooltip.c_str());
    }
    atk_object_set_parent(node->object, parent);
    Sync(owner, node->object, node->children, record.children);
    return node;
}

// The part is gone: its object, which a reader may still hold, answers as defunct.
void Retire(Node& node) {
    for (const std::unique_ptr<Node>& child : node.children) {
        Retire(*child);
    }
    reinterpret_cast<KVAccessiblePart*>(node.object)->node = nullptr;
    atk_object_notify_state_change(node.object, ATK_STATE_DEFUNCT, TRUE);
    g_object_unref(node.object);
    node.object = nullptr;
}

void Renumber(Nodes& nodes) {
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        nodes[i]->index = static_cast<int>(i);
    }
}

void Remove(AtkObject* parent, Nodes& nodes, std::size_t index) {
    const std::unique_ptr<Node> node = std::move(nodes[index]);
    nodes.erase(nodes.begin() + static_cast<std::ptrdiff_t>(index));
    Renumber(nodes);
    g_signal_emit_by_name(parent, "children-changed::remove", static_cast<guint>(index),
                          node->object);
    Retire(*node);
}

void Insert(GtkPanelAccessibility& owner, AtkObject* parent, Nodes& nodes, std::size_t index,
            const AccessibleElement& record) {
    nodes.insert(nodes.begin() + static_cast<std::ptrdiff_t>(index),
                 MakeNode(owner, parent, record, static_cast<int>(index)));
    Renumber(nodes);
    g_signal_emit_by_name(parent, "children-changed::add", static_cast<guint>(index),
                          nodes[index]->object);
}

// Brings a part kept in place up to its new record; true when its selected state changed.
bool Refresh(GtkPanelAccessibility& owner, Node& node, const AccessibleElement& record) {
    if (node.record.name != record.name) {
        atk_object_set_name(node.object, record.name.c_str());
    }
    const bool selectionChanged = node.record.selected != record.selected;
    node.record.selected = record.selected;
    node.record.frame = record.frame;
    node.record.tooltip = record.tooltip;
    node.record.press = record.press;
    node.record.name = record.name;
    if (selectionChanged) {
        atk_object_notify_state_change(node.object, ATK_STATE_SELECTED, record.selected);
    }
    Sync(owner, node.object, node.children, record.children);
    return selectionChanged;
}

bool SamePart(const Node& node, const AccessibleElement& record) {
    return node.record.id == record.id && node.record.role == record.role;
}

void Sync(GtkPanelAccessibility& owner, AtkObject* parent, Nodes& nodes,
          const std::vector<AccessibleElement>& records) {
    // Parts that are no longer there go first, from the last, so that every index told is
    // the one the reader knows.
    for (std::size_t i = nodes.size(); i-- > 0;) {
        const bool stays = std::any_of(records.begin(), records.end(), [&](const auto& record) {
            return SamePart(*nodes[i], record);
        });
        if (!stays) {
            Remove(parent, nodes, i);
        }
    }
    // The parts that stay keep their objects, in their order; new ones come in at their place.
    bool selectionChanged = false;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (i < nodes.size() && SamePart(*nodes[i], records[i])) {
            selectionChanged = Refresh(owner, *nodes[i], records[i]) || selectionChanged;
            continue;
        }
        Insert(owner, parent, nodes, i, records[i]);
        selectionChanged = selectionChanged || records[i].selected;
    }
    // A part that stayed out of order was taken for new above: what is left over goes.
    while (nodes.size() > records.size()) {
        Remove(parent, nodes, nodes.size() - 1);
    }
    if (selectionChanged && ATK_IS_SELECTION(parent)) {
        g_signal_emit_by_name(parent, "selection-changed");
        for (const std::unique_ptr<Node>& node : nodes) {
            if (node->record.selected) {
                g_signal_emit_by_name(parent, "active-descendant-changed", node->object);
            }
        }
    }
}

const AccessibleElement* TooltipPartAt(const Nodes& nodes, Point point) {
    for (const std::unique_ptr<Node>& node : nodes) {
        if (!node->record.frame.contains(point)) {
            continue;
        }
        if (const AccessibleElement* inner = TooltipPartAt(node->children, point)) {
            return inner;
        }
        if (!node->record.tooltip.empty()) {
            return &node->record;
        }
    }
    return nullptr;
}

}  // namespace

GtkWidget* NewAccessibleDrawingArea() {
    return GTK_WIDGET(g_object_new(kv_accessible_area_get_type(), nullptr));
}

GtkPanelAccessibility::GtkPanelAccessibility(GtkWidget* area)
    : _area(area), _root(ATK_OBJECT(g_object_ref(gtk_widget_get_accessible(area)))) {
    if (G_TYPE_CHECK_INSTANCE_TYPE(_root, kv_panel_accessible_get_type())) {
        reinterpret_cast<KVPanelAccessible*>(_root)->owner = this;
    }
}

GtkPanelAccessibility::~GtkPanelAccessibility() {
    if (G_TYPE_CHECK_INSTANCE_TYPE(_root, kv_panel_accessible_get_type())) {
        reinterpret_cast<KVPanelAccessible*>(_root)->owner = nullptr;
    }
    for (const std::unique_ptr<Node>& node : _parts) {
        Retire(*node);
    }
    g_object_unref(_root);
}

void GtkPanelAccessibility::update(const std::vector<AccessibleElement>& parts, double height) {
    _height = height;
    Sync(*this, _root, _parts, parts);
}

const AccessibleElement* GtkPanelAccessibility::tooltipPartAt(double x, double y) const {
    return TooltipPartAt(_parts, {x, _height - y});
}

}  // namespace kv
