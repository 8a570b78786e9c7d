// Every transition effect, grouped by family. Each takes the effect context
// and the parameters the dispatch table gives it, and returns the final
// frame (the caller's), or null when counting or after a refused write.
#pragma once

#include "render/effects/effect_context.h"

// No animation: index 99, 93, 94 and every index without an effect.
WandPtr effect_none(EffectContext& ctx);

// Zoom and fade.
WandPtr effect_shrink_gradually(EffectContext& ctx, int steps, int stepWidth);
WandPtr effect_enlarge_gradually(EffectContext& ctx, int steps, int stepWidth);
WandPtr effect_fade_in_out(EffectContext& ctx, int levelStep);

// Drag, slide-out and slide-in.
WandPtr effect_drag_out_left_to_right(EffectContext& ctx, int step);
WandPtr effect_drag_out_right_to_left(EffectContext& ctx, int step);
WandPtr effect_drag_out_top_to_bottom(EffectContext& ctx, int step);
WandPtr effect_drag_out_bottom_to_top(EffectContext& ctx, int step);
WandPtr effect_slide_out_left_to_right(EffectContext& ctx);
WandPtr effect_slide_out_right_to_left(EffectContext& ctx);
WandPtr effect_slide_out_top_to_bottom(EffectContext& ctx);
WandPtr effect_slide_out_bottom_to_top(EffectContext& ctx);
WandPtr effect_slide_in_left_to_right(EffectContext& ctx);
WandPtr effect_slide_in_right_to_left(EffectContext& ctx);
WandPtr effect_slide_in_top_to_bottom(EffectContext& ctx);
WandPtr effect_slide_in_bottom_to_top(EffectContext& ctx);

// Circle, diamond and X.
WandPtr effect_expand_center_to_edges_circle(EffectContext& ctx, int step);
WandPtr effect_expand_edges_to_center_circle(EffectContext& ctx, int step);
WandPtr effect_expand_center_to_edges_diamond(EffectContext& ctx);
WandPtr effect_expand_edges_to_center_diamond(EffectContext& ctx);
WandPtr effect_expand_center_to_edges_x(EffectContext& ctx, int step);
WandPtr effect_expand_edges_to_center_x(EffectContext& ctx, int step);

// Clock and windmill (angle steps in degrees).
WandPtr effect_clock_wipe_12_clockwise(EffectContext& ctx, double angleStep);
WandPtr effect_clock_wipe_both_directions(EffectContext& ctx, double angleStep);
WandPtr effect_clock_wipe_9_clockwise(EffectContext& ctx, double angleStep);
WandPtr effect_clock_wipe_9_counterclockwise(EffectContext& ctx, double angleStep);
WandPtr effect_clock_wipe_12_counterclockwise(EffectContext& ctx, double angleStep);
WandPtr effect_windmill(EffectContext& ctx, double angleStep);

// Wipe-in and four-corner.
WandPtr effect_expand_edges_to_center_square(EffectContext& ctx, int step);
WandPtr effect_expand_sides_to_middle_horizontal(EffectContext& ctx, int step);
WandPtr effect_expand_sides_to_middle_vertical(EffectContext& ctx, int step);
WandPtr effect_expand_corners_to_center(EffectContext& ctx, int step);
WandPtr effect_expand_center_to_corners(EffectContext& ctx, int step);

// Rotate.
WandPtr effect_rotate_cw_grow(EffectContext& ctx);
WandPtr effect_rotate_ccw_grow(EffectContext& ctx);
WandPtr effect_rotate_cw_shrink(EffectContext& ctx);
WandPtr effect_rotate_ccw_shrink(EffectContext& ctx);

// Door and fly.
WandPtr effect_doors_open_horizontal(EffectContext& ctx);
WandPtr effect_doors_open_vertical(EffectContext& ctx);
WandPtr effect_doors_close_horizontal(EffectContext& ctx);
WandPtr effect_doors_close_vertical(EffectContext& ctx);
WandPtr effect_fly_in_from_corners(EffectContext& ctx, int step);
WandPtr effect_fly_out_to_corners(EffectContext& ctx, int step);

// Staircase and blinds.
WandPtr effect_raster_steps_left_to_right(EffectContext& ctx, int bands);
WandPtr effect_raster_steps_right_to_left(EffectContext& ctx, int bands);
WandPtr effect_raster_steps_top_to_bottom(EffectContext& ctx, int bands);
WandPtr effect_raster_steps_bottom_to_top(EffectContext& ctx, int bands);
WandPtr effect_blinds_left_to_right(EffectContext& ctx, int slats);
WandPtr effect_blinds_top_to_bottom(EffectContext& ctx, int slats);

// Arrow and sweep.
WandPtr effect_arrow_left_to_right(EffectContext& ctx);
WandPtr effect_arrow_right_to_left(EffectContext& ctx);
WandPtr effect_arrow_top_to_bottom(EffectContext& ctx);
WandPtr effect_arrow_bottom_to_top(EffectContext& ctx);
WandPtr effect_sweep_from_bottom(EffectContext& ctx);
WandPtr effect_sweep_from_top(EffectContext& ctx);
WandPtr effect_sweep_from_left(EffectContext& ctx);
WandPtr effect_sweep_from_right(EffectContext& ctx);

// Diagonal and scan.
WandPtr effect_diagonal_top_left_to_bottom_right(EffectContext& ctx);
WandPtr effect_diagonal_bottom_left_to_top_right(EffectContext& ctx);
WandPtr effect_diagonal_top_right_to_bottom_left(EffectContext& ctx);
WandPtr effect_diagonal_bottom_right_to_top_left(EffectContext& ctx);
WandPtr effect_diagonal_scan_in(EffectContext& ctx);
WandPtr effect_diagonal_scan_out(EffectContext& ctx);

// Flip.
WandPtr effect_flip_in_around_left_edge(EffectContext& ctx);
WandPtr effect_flip_in_around_right_edge(EffectContext& ctx);
WandPtr effect_flip_in_around_top_edge(EffectContext& ctx);
WandPtr effect_flip_in_around_bottom_edge(EffectContext& ctx);

// Grow.
WandPtr effect_grow_from_top_left(EffectContext& ctx, int step);
WandPtr effect_grow_from_bottom_left(EffectContext& ctx, int step);
WandPtr effect_grow_from_top_right(EffectContext& ctx, int step);
WandPtr effect_grow_from_bottom_right(EffectContext& ctx, int step);
WandPtr effect_grow_from_left_middle(EffectContext& ctx, int step);
WandPtr effect_grow_from_top_middle(EffectContext& ctx, int step);
WandPtr effect_grow_from_right_middle(EffectContext& ctx, int step);
WandPtr effect_grow_from_bottom_middle(EffectContext& ctx, int step);
WandPtr effect_grow_from_center(EffectContext& ctx, int step);

// Corner-crop and wipe-out.
WandPtr effect_expand_from_top_left(EffectContext& ctx, int step);
WandPtr effect_expand_from_bottom_left(EffectContext& ctx, int step);
WandPtr effect_expand_from_top_right(EffectContext& ctx, int step);
WandPtr effect_expand_from_bottom_right(EffectContext& ctx, int step);
WandPtr effect_expand_center_to_edges_square(EffectContext& ctx, int step);
WandPtr effect_expand_middle_to_sides_horizontal(EffectContext& ctx, int step);
WandPtr effect_expand_middle_to_sides_vertical(EffectContext& ctx, int step);
WandPtr effect_wipe_left_to_right(EffectContext& ctx, int step);
WandPtr effect_wipe_top_to_bottom(EffectContext& ctx, int step);
WandPtr effect_wipe_bottom_to_top(EffectContext& ctx, int step);
WandPtr effect_wipe_right_to_left(EffectContext& ctx, int step);

// Shrink (middle and corner).
WandPtr effect_shrink_edges_to_center(EffectContext& ctx, int step);
WandPtr effect_shrink_sides_to_middle_horizontal(EffectContext& ctx, int step);
WandPtr effect_shrink_sides_to_middle_vertical(EffectContext& ctx, int step);
WandPtr effect_shrink_to_top_left(EffectContext& ctx);
WandPtr effect_shrink_to_bottom_left(EffectContext& ctx);
WandPtr effect_shrink_to_top_right(EffectContext& ctx);
WandPtr effect_shrink_to_bottom_right(EffectContext& ctx);

// Move-grow.
WandPtr effect_move_from_top_grow(EffectContext& ctx);
WandPtr effect_move_from_bottom_grow(EffectContext& ctx);
WandPtr effect_move_from_left_grow(EffectContext& ctx);
WandPtr effect_move_from_right_grow(EffectContext& ctx);
