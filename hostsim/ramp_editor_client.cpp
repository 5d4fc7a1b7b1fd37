#include "hostsim/ramp_editor_client.h"

#include <stdexcept>

#include "hostsim/arbitrary_data_client.h"
#include "hostsim/custom_ui_events.h"

namespace hostsim {

namespace {

PF_ParamIndex FindArbitraryParam(EffectHost& host) {
    ParamStore& store = host.services().params();
    for (size_t i = 0; i < store.size(); ++i) {
        if (store.at(i).def.param_type == PF_Param_ARBITRARY_DATA) {
            return static_cast<PF_ParamIndex>(i);
        }
    }
    throw std::runtime_error("the effect declared no arbitrary-data parameter");
}

}  // namespace

RampEditorClient::RampEditorClient(EffectHost& host, const PF_Rect& frame)
    : host_(host),
      index_(FindArbitraryParam(host)),
      frame_(frame),
      context_(host.services().panel().OpenContext()) {
    PF_ArbitraryDef& arb = Param().u.arb_d;
    if (arb.value != nullptr) return;
    // The value starts as a copy of the default, as when the effect is applied.
    ArbitraryDataClient data(host_, arb.refconPV);
    const auto copy = data.Copy(arb.dephault);
    if (copy.err != PF_Err_NONE || copy.handle == nullptr) {
        throw std::runtime_error("the effect made no value for its arbitrary-data parameter");
    }
    arb.value = copy.handle;
}

PF_ParamDef& RampEditorClient::Param() const {
    return host_.services().params().at(static_cast<size_t>(index_)).def;
}

PF_Handle RampEditorClient::value() const {
    return Param().u.arb_d.value;
}

std::vector<uint8_t> RampEditorClient::ValueBytes() const {
    return host_.services().handles().Bytes(value());
}

void RampEditorClient::SetValueBytes(const std::vector<uint8_t>& flat) {
    PF_ArbitraryDef& arb = Param().u.arb_d;
    ArbitraryDataClient data(host_, arb.refconPV);
    const auto made = data.Unflatten(flat.data(), static_cast<A_u_long>(flat.size()));
    if (made.err != PF_Err_NONE || made.handle == nullptr) {
        throw std::runtime_error("the effect could not load the parameter's stored data");
    }
    if (arb.value != nullptr) data.Dispose(arb.value);
    arb.value = made.handle;
}

EditorEvent RampEditorClient::Send(const PF_EventExtra& event) {
    EditorEvent sent{{}, event};
    sent.result = host_.SendEvent(&sent.event);
    return sent;
}

EditorEvent RampEditorClient::Click(PF_Point where, A_long num_clicks) {
    EditorEvent sent = Send(MakeClickEvent(index_, frame_, context_, where, num_clicks));
    last_click_ = sent.event;
    return sent;
}

EditorEvent RampEditorClient::Drag(PF_Point where, bool last_time) {
    return Send(MakeDragEvent(last_click_, where, last_time));
}

std::vector<EditorEvent> RampEditorClient::PressAndMove(PF_Point press,
                                                        const std::vector<PF_Point>& moves) {
    std::vector<EditorEvent> events{Click(press)};
    if (!events.front().event.u.do_click.send_drag) return events;
    for (size_t i = 0; i < moves.size(); ++i) {
        events.push_back(Drag(moves[i], i + 1 == moves.size()));
    }
    return events;
}

EditorEvent RampEditorClient::AdjustCursor(PF_Point where) {
    return Send(MakeAdjustCursorEvent(index_, frame_, context_, where));
}

EditorDrawing RampEditorClient::Draw() {
    DrawbotHost& drawbot = host_.services().drawbot();
    PanelServices& panel = host_.services().panel();
    DrawbotCanvas* canvas = drawbot.NewCanvas(frame_);
    panel.AttachCanvas(context_, canvas);
    PF_EventExtra event = MakeDrawEvent(index_, frame_, context_);
    EditorDrawing drawing{host_.SendEvent(&event), canvas->Image()};
    panel.AttachCanvas(context_, nullptr);
    drawbot.DeleteCanvas(canvas);
    return drawing;
}

}  // namespace hostsim
