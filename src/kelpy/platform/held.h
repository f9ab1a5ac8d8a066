// Held: an owner held (Hold) for as long as the Held lives, then let go (Unhold), which may
// destroy it. Null holds nothing. For the control while a message of its windows or one of its
// events runs, so that a host that lets go of it meanwhile does not free it under the call.
#pragma once

namespace kelpy::platform {

template <class Owner>
class Held {
public:
    explicit Held(Owner* owner) noexcept : owner_(owner) {
        if (owner_) owner_->Hold();
    }
    ~Held() {
        if (owner_) owner_->Unhold();
    }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;

private:
    Owner* owner_;
};

}  // namespace kelpy::platform
