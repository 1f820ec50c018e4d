#pragma once
// The layout of each window: where its controls lie, their designed captions
// and their looks, one table per window. The windows of this folder lay
// themselves out as they are built.
namespace ui {

class TF_Debug;
class TF_Login;
class TF_morvel_config_main;

/// The frame and every page. Runs before FormCreate, which moves the cover.
void LayOutMainWindow(TF_morvel_config_main& w);
void LayOutLoginDialog(TF_Login& w);
void LayOutDebugWindow(TF_Debug& w);

}  // namespace ui
