#include "hostsim/drawbot/drawbot_host.h"

namespace hostsim {

DrawbotCanvas* DrawbotHost::NewCanvas(const PF_Rect& frame) {
    auto canvas = std::make_unique<DrawbotCanvas>(frame);
    DrawbotCanvas* raw = canvas.get();
    canvases_.emplace(raw, std::move(canvas));
    return raw;
}

void DrawbotHost::DeleteCanvas(DrawbotCanvas* canvas) {
    canvases_.erase(canvas);
}

DrawbotCanvas* DrawbotHost::FindCanvas(const void* reference) const {
    const auto it = canvases_.find(reference);
    if (it == canvases_.end()) {
        ++misuses_;
        return nullptr;
    }
    return it->second.get();
}

DRAWBOT_ObjectRef DrawbotHost::NewObject(DrawbotObject object) {
    auto owned = std::make_unique<DrawbotObject>(std::move(object));
    owned->references = 1;
    auto reference = reinterpret_cast<DRAWBOT_ObjectRef>(owned.get());
    objects_.emplace(reference, std::move(owned));
    return reference;
}

DrawbotObject* DrawbotHost::FindObject(DRAWBOT_ObjectRef reference,
                                       DrawbotObject::Kind kind) const {
    const auto it = objects_.find(reference);
    if (it == objects_.end() || it->second->kind != kind) {
        ++misuses_;
        return nullptr;
    }
    return it->second.get();
}

A_Err DrawbotHost::Retain(DRAWBOT_ObjectRef reference) {
    const auto it = objects_.find(reference);
    if (it == objects_.end()) {
        ++misuses_;
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    ++it->second->references;
    return PF_Err_NONE;
}

A_Err DrawbotHost::Release(DRAWBOT_ObjectRef reference) {
    const auto it = objects_.find(reference);
    if (it == objects_.end()) {
        ++misuses_;
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    if (--it->second->references == 0) objects_.erase(it);
    return PF_Err_NONE;
}

A_Err DrawbotHost::Enter(const char* call) {
    calls_.emplace_back(call);
    const auto it = failures_.find(call);
    if (it == failures_.end()) return PF_Err_NONE;
    A_Err err = PF_Err_NONE;
    for (Failure& failure : it->second) {
        if (failure.remaining > 0 && --failure.remaining == 0) err = failure.err;
    }
    return err;
}

void DrawbotHost::FailCall(const std::string& call, int nth, A_Err err) {
    failures_[call].push_back(Failure{nth, err});
}

}  // namespace hostsim
