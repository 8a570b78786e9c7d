// Families not built yet render as no animation, in both modes, so the
// frame counts stay consistent. Whoever builds a family deletes its block
// here and adds the family's own source file.
#include "render/effects/effect_functions.h"

// clang-format off

// Corner-crop and wipe-out.
WandPtr effect_expand_from_top_left(EffectContext& ctx, int) { return effect_none(ctx); }
WandPtr effect_expand_from_bottom_left(EffectContext& ctx, int) { return effect_none(ctx); }
WandPtr effect_expand_from_top_right(EffectContext& ctx, int) { return effect_none(ctx); }
WandPtr effect_expand_from_bottom_right(EffectContext& ctx, int) { return effect_none(ctx); }
WandPtr effect_expand_center_to_edges_square(EffectContext& ctx, int) { return effect_none(ctx); }
WandPtr effect_expand_middle_to_sides_horizontal(EffectContext& ctx, int) { return effect_none(ctx); }
WandPtr effect_expand_middle_to_sides_vertical(EffectContext& ctx, int) { return effect_none(ctx); }
WandPtr effect_wipe_left_to_right(EffectContext& ctx, int) { return effect_none(ctx); }
WandPtr effect_wipe_top_to_bottom(EffectContext& ctx, int) { return effect_none(ctx); }
WandPtr effect_wipe_bottom_to_top(EffectContext& ctx, int) { return effect_none(ctx); }
WandPtr effect_wipe_right_to_left(EffectContext& ctx, int) { return effect_none(ctx); }

// clang-format on
