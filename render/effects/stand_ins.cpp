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

// Shrink (middle and corner).
WandPtr effect_shrink_edges_to_center(EffectContext& ctx, int) { return effect_none(ctx); }
WandPtr effect_shrink_sides_to_middle_horizontal(EffectContext& ctx, int) { return effect_none(ctx); }
WandPtr effect_shrink_sides_to_middle_vertical(EffectContext& ctx, int) { return effect_none(ctx); }
WandPtr effect_shrink_to_top_left(EffectContext& ctx) { return effect_none(ctx); }
WandPtr effect_shrink_to_bottom_left(EffectContext& ctx) { return effect_none(ctx); }
WandPtr effect_shrink_to_top_right(EffectContext& ctx) { return effect_none(ctx); }
WandPtr effect_shrink_to_bottom_right(EffectContext& ctx) { return effect_none(ctx); }

// Move-grow.
WandPtr effect_move_from_top_grow(EffectContext& ctx) { return effect_none(ctx); }
WandPtr effect_move_from_bottom_grow(EffectContext& ctx) { return effect_none(ctx); }
WandPtr effect_move_from_left_grow(EffectContext& ctx) { return effect_none(ctx); }
WandPtr effect_move_from_right_grow(EffectContext& ctx) { return effect_none(ctx); }
// clang-format on
