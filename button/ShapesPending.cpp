// Renderers of the shapes whose geometry is still to come: they draw nothing yet and leave the
// window region as it was. Each moves to its family's file with its table.
#include "ShapeFrame.h"

namespace shape {

void DrawEllipse(const FrameState&, ShapeCanvas&) {}
void DrawDiamond(const FrameState&, ShapeCanvas&) {}
void DrawTriangleUp(const FrameState&, ShapeCanvas&) {}
void DrawTriangleLeft(const FrameState&, ShapeCanvas&) {}
void DrawTriangleRight(const FrameState&, ShapeCanvas&) {}
void DrawTriangleDown(const FrameState&, ShapeCanvas&) {}
void DrawArrowUp(const FrameState&, ShapeCanvas&) {}
void DrawArrowLeft(const FrameState&, ShapeCanvas&) {}
void DrawArrowRight(const FrameState&, ShapeCanvas&) {}
void DrawArrowDown(const FrameState&, ShapeCanvas&) {}

} // namespace shape
