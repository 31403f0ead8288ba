#include "imageman.h"

// Placeholder until the engine lands.
struct ImageMan::Private
{
};

ImageMan::ImageMan()
    : d(std::make_unique<Private>())
{
}
ImageMan::~ImageMan() = default;
