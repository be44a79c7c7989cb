#include "ui/window-utils/layout_fit.h"

#include <algorithm>
#include <cstddef>

namespace tarvello::ui {

namespace {

struct Span {
    int start, size;
    int End() const { return start + size; }
};

// One box seen along the axis being fitted.
struct AxisBox {
    FitBox* box;
    Span table;   // as the table gives it
    Span now;     // as fitted so far
    Span across;  // across the axis, as it stands
};

class AxisFit {
public:
    AxisFit(std::vector<FitBox>& boxes, bool down) : down_(down) {
        for (FitBox& box : boxes) {
            const Span table = down ? Span{box.top, box.height} : Span{box.left, box.width};
            const int need = down ? box.needHeight : box.needWidth;
            all_.push_back({&box,
                            table,
                            {table.start, std::max(table.size, need)},
                            down ? Span{box.left, box.width} : Span{box.top, box.height}});
        }
    }

    // Fits the window's boxes (and so every frame's) and gives the client's extent.
    int Fit(int clientExtent) {
        const std::vector<AxisBox*> top = ChildrenOf(0);
        for (AxisBox* box : top) FitFrame(*box);
        MakeRoom(top);
        const int extent = GrowWindow(top, clientExtent);
        for (AxisBox& b : all_) {
            (down_ ? b.box->top : b.box->left) = b.now.start;
            (down_ ? b.box->height : b.box->width) = b.now.size;
        }
        return extent;
    }

private:
    std::vector<AxisBox*> ChildrenOf(int container) {
        std::vector<AxisBox*> children;
        if (container == 0) {
            for (AxisBox& b : all_) {
                if (b.box->container == 0) children.push_back(&b);
            }
            return children;
        }
        for (AxisBox& b : all_) {
            // A box never holds itself.
            if (b.box->container == container && b.box->id != container) children.push_back(&b);
        }
        return children;
    }

    static bool Beside(const Span& a, const Span& b) {
        return a.start < b.End() && b.start < a.End();
    }

    // Rule 4 for a frame: its boxes made room among themselves first.
    void FitFrame(AxisBox& frame) {
        const std::vector<AxisBox*> children = ChildrenOf(frame.box->id);
        if (children.empty()) return;
        for (AxisBox* child : children) FitFrame(*child);
        MakeRoom(children);
        int tableFar = 0, nowFar = 0;
        for (const AxisBox* child : children) {
            tableFar = std::max(tableFar, child->table.End());
            nowFar = std::max(nowFar, child->now.End());
        }
        const int padding = std::max(0, frame.table.size - tableFar);
        frame.now.size = std::max(frame.now.size, nowFar + padding);
    }

    // Rules 2 and 3 among the boxes of one container. Both only ever move a box on or grow it,
    // so the rounds end; a box can be moved at most once per box before it.
    void MakeRoom(std::vector<AxisBox*> boxes) {
        std::stable_sort(boxes.begin(), boxes.end(), [](const AxisBox* a, const AxisBox* b) {
            return a->table.start != b->table.start ? a->table.start < b->table.start
                                                    : a->table.End() < b->table.End();
        });
        for (std::size_t round = 0; round <= boxes.size(); ++round) {
            bool changed = false;
            for (AxisBox* b : boxes) {
                int shift = 0;
                for (const AxisBox* a : boxes) {
                    if (a != b && a->table.End() <= b->table.start &&
                        Beside(a->across, b->across)) {
                        shift = std::max(shift, a->now.End() - a->table.End());
                    }
                }
                const int start = b->table.start + shift;
                int end = std::max(b->now.End() - b->now.start + start, start);
                for (const AxisBox* a : boxes) {
                    if (a->table.End() == b->table.End()) end = std::max(end, a->now.End());
                }
                if (start != b->now.start || end != b->now.End()) {
                    b->now = {start, end - start};
                    changed = true;
                }
            }
            if (!changed) return;
        }
    }

    // Rule 5: the band of boxes that ends at the far edge of the others, give or take the room
    // the window keeps there, and in which nothing grew or moved (the buttons below the frames),
    // moves on by as much as that edge did. The band is every box beside one of its own across
    // the axis, so that moving it runs into nothing.
    void FollowFarEdge(const std::vector<AxisBox*>& top, int client, int tableFar, int padding) {
        int nowFar = tableFar;
        for (const AxisBox* b : top) {
            if (b->table.End() < client) nowFar = std::max(nowFar, b->now.End());
        }
        const int growth = nowFar - tableFar;
        if (growth <= 0) return;
        for (AxisBox* b : top) {
            const int gap = tableFar - b->table.End();
            if (gap <= 0 || gap > padding) continue;
            std::vector<AxisBox*> band{b};
            for (std::size_t i = 0; i < band.size(); ++i) {
                for (AxisBox* c : top) {
                    if (std::find(band.begin(), band.end(), c) == band.end() &&
                        Beside(c->across, band[i]->across)) {
                        band.push_back(c);
                    }
                }
            }
            const bool still = std::all_of(band.begin(), band.end(), [&](const AxisBox* c) {
                return c->table.End() < client && c->now.start == c->table.start &&
                       c->now.size == c->table.size;
            });
            if (!still) continue;
            for (AxisBox* c : band) c->now.start += growth;
        }
    }

    // Rule 4 for the window.
    int GrowWindow(const std::vector<AxisBox*>& top, int client) {
        int tableFar = 0;
        bool anyInside = false;
        for (const AxisBox* b : top) {
            if (b->table.End() < client) {
                tableFar = std::max(tableFar, b->table.End());
                anyInside = true;
            }
        }
        const int padding = anyInside ? std::max(0, client - tableFar) : 0;
        FollowFarEdge(top, client, tableFar, padding);
        int required = client;
        for (const AxisBox* b : top) {
            const int need = down_ ? b->box->needHeight : b->box->needWidth;
            if (b->table.End() < client) {
                required = std::max(required, b->now.End() + padding);
            } else if (need > 0) {
                required = std::max(required, b->now.start + need + padding);
            }
        }
        const int growth = required - client;
        for (AxisBox* b : top) {
            if (b->table.End() >= client) {
                b->now.size = std::max(b->now.size, b->table.End() + growth - b->now.start);
            }
        }
        return required;
    }

    bool down_;
    std::vector<AxisBox> all_;
};

}  // namespace

FitSize FitLayout(std::vector<FitBox>& boxes, FitSize client) {
    FitSize fitted{};
    fitted.width = AxisFit(boxes, false).Fit(client.width);
    fitted.height = AxisFit(boxes, true).Fit(client.height);
    return fitted;
}

}  // namespace tarvello::ui
