// The standalone host's Drawbot: the canvases drawn on, the pens, brushes, paths and fonts the
// effect makes (reference-counted, so leaks show), a log of every call, and failures injected
// into chosen calls. Used from the UI thread only, as the host's drawing is.
#ifndef SPIROVAULT_HOSTSIM_DRAWBOT_DRAWBOT_HOST_H
#define SPIROVAULT_HOSTSIM_DRAWBOT_DRAWBOT_HOST_H

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/ae_basic_types.h"
#include "hostsim/drawbot/drawbot_canvas.h"
#include "hostsim/drawbot/drawbot_objects.h"

namespace hostsim {

class DrawbotHost {
  public:
    // Canvases: each is its own draw, supplier and surface reference.
    DrawbotCanvas* NewCanvas(const PF_Rect& frame);
    void DeleteCanvas(DrawbotCanvas* canvas);
    DrawbotCanvas* FindCanvas(const void* reference) const;

    DRAWBOT_ObjectRef NewObject(DrawbotObject object);
    // Null unless the reference is live and of this kind.
    DrawbotObject* FindObject(DRAWBOT_ObjectRef reference, DrawbotObject::Kind kind) const;
    A_Err Retain(DRAWBOT_ObjectRef reference);
    A_Err Release(DRAWBOT_ObjectRef reference);
    size_t LiveObjects() const { return objects_.size(); }
    int misuses() const { return misuses_; }  // unknown or wrong-kind references

    // Every suite call enters here: it is logged, and answers the injected error if one is due.
    A_Err Enter(const char* call);
    // The nth call (from 1) named `call` from now fails with err.
    void FailCall(const std::string& call, int nth, A_Err err);
    const std::vector<std::string>& calls() const { return calls_; }
    void ClearCalls() { calls_.clear(); }

    // What GetDefaultFontSize answers.
    float default_font_size = 10.0f;

  private:
    struct Failure {
        int remaining;
        A_Err err;
    };

    std::map<const void*, std::unique_ptr<DrawbotCanvas>> canvases_;
    std::map<DRAWBOT_ObjectRef, std::unique_ptr<DrawbotObject>> objects_;
    std::map<std::string, std::vector<Failure>> failures_;
    std::vector<std::string> calls_;
    mutable int misuses_ = 0;
};

}  // namespace hostsim

#endif
