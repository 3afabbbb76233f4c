#pragma once

namespace brv {

// The art that lives in the GL context. Switching between window and full
// screen destroys the context, so the window releases every texture before
// and loads them all again afterwards.
class ResourceReloader {
public:
    virtual ~ResourceReloader() = default;
    virtual void releaseAll() = 0;
    virtual void loadAll() = 0;
};

}  // namespace brv
