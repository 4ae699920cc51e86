#pragma once

// The real window with no screen: it paints into an image. Call before the application object is made.
namespace Offscreen {

// Chooses the offscreen platform (unless one is set) and keeps its routine warnings off standard error.
void prepare();

} // namespace Offscreen
