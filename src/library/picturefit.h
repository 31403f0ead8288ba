#pragma once

#include "errorlog.h"
#include "failure.h"

class ImageMan;

/// Run after every load of a picture into an engine that shows it. Leaves the picture's size in
/// the engine's tag as height + " x " + width (a portrait photo 1536 wide and 2048 high gives
/// "2048 x 1536"), sets draw mode 3 with the whole picture as source and, as destination, the
/// picture scaled to the view's width with its height stretched by horizontal / vertical
/// resolution (so fax pictures of unequal resolution show their true proportions), and refreshes.
/// An empty engine is a failure (5), logged as "modMain - LoadFaxImage".
Result<void> LoadFaxImage(ImageMan &engine, const ErrorLog &log);

/// Fits or centres the picture in the engine's view, then refreshes.
/// keepScale true: the picture keeps its scale and is centred (negative offsets when it is
/// smaller than the view). keepScale false: AutoScale 0 and the scale region is set so the whole
/// picture fits the view with its aspect kept, centred along the direction with room to spare.
/// The region starts from the current scale size, or from the view size when that is unset.
/// An empty engine or a view without size is a failure (5), logged as "modMain - CenterGraphic".
Result<void> CenterGraphic(ImageMan &engine, bool keepScale, const ErrorLog &log);
