#include "cli/scene_composition.h"

namespace cli {

double DefaultCameraZoom(int composition_width) {
    return composition_width * 50.0 / 36.0;
}

namespace {

// Composition pixels of a scene made for one size, for another size: as the host's "scale
// composition", one factor (the heights' ratio, which keeps the vertical field of view) about
// the centre.
class SceneScale {
  public:
    SceneScale(FrameSize from, FrameSize to)
        : factor_(static_cast<double>(to.height) / from.height),
          from_(from),
          to_(to),
          identity_(from.width == to.width && from.height == to.height) {}

    void Point(Animated<Vec3d>* point) const {
        Map<Vec3d>(point, [this](const Vec3d& p) {
            return Vec3d{(p.x - from_.width / 2.0) * factor_ + to_.width / 2.0,
                         (p.y - from_.height / 2.0) * factor_ + to_.height / 2.0, p.z * factor_};
        });
    }
    // A stream measured in composition pixels.
    void Length(CompLayer* layer, AEGP_LayerStream stream) const {
        auto found = layer->streams.find(stream);
        if (found == layer->streams.end()) return;
        Map<double>(&found->second, [this](double v) { return v * factor_; });
    }
    void Layer(CompLayer* layer) const {
        if (identity_) return;
        Point(&layer->position);
        if (layer->point_of_interest) Point(&*layer->point_of_interest);
        for (AEGP_LayerStream stream :
             {AEGP_LayerStream_ZOOM, AEGP_LayerStream_FOCUS_DISTANCE, AEGP_LayerStream_APERTURE,
              AEGP_LayerStream_SHADOW_DIFFUSION}) {
            Length(layer, stream);
        }
    }

  private:
    template <typename T, typename F>
    static void Map(Animated<T>* animated, F f) {
        // Tangents are offsets: mapped as the points they lead to, less the mapped value.
        std::vector<Keyframe<T>> keys = animated->keys();
        for (Keyframe<T>& key : keys) {
            const T value = key.value;
            key.value = f(value);
            if (key.in_tangent) key.in_tangent = f(value + *key.in_tangent) - key.value;
            if (key.out_tangent) key.out_tangent = f(value + *key.out_tangent) - key.value;
        }
        animated->SetKeys(std::move(keys));
    }

    double factor_;
    FrameSize from_, to_;
    bool identity_;
};

}  // namespace

void BuildComposition(const Scene& scene, FrameSize size, Composition* composition) {
    composition->width = size.width;
    composition->height = size.height;
    composition->frame_rate = scene.frame_rate;
    composition->layers.clear();
    const FrameSize made_for = scene.size.value_or(size);
    const SceneScale scale(made_for, size);
    if (scene.camera) {
        CompLayer camera = scene.camera->layer;
        // Defaults of a new camera in the composition the scene was made for.
        const double zoom = DefaultCameraZoom(made_for.width);
        const Vec3d centre{made_for.width / 2.0, made_for.height / 2.0, 0.0};
        if (!scene.camera->zoom_given) camera.streams[AEGP_LayerStream_ZOOM].Set(zoom);
        if (!scene.camera->position_given) {
            camera.position.Set(Vec3d{centre.x, centre.y, -zoom});
        }
        if (!scene.camera->point_of_interest_given) {
            camera.point_of_interest = Animated<Vec3d>(centre);
        }
        scale.Layer(&camera);
        composition->layers.push_back(camera);
    }
    for (CompLayer light : scene.lights) {
        scale.Layer(&light);
        composition->layers.push_back(light);
    }
}

}  // namespace cli
