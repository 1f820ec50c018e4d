#pragma once
// The layout of each window: where its controls lie, their designed captions
// and their looks, one table per window. The windows of this folder lay
// themselves out as they are built; the connection dialog is laid out by the
// program that creates it.
namespace devlink {
class TF_Connection;
}

namespace ui {

class TF_morvel_config_main;
class TF_Login;
class TF_Debug;
class TF_Review;

/// The frame and every page. Runs before FormCreate, which moves the cover.
void LayOutMainWindow(TF_morvel_config_main& w);
void LayOutConnectionDialog(devlink::TF_Connection& d);
void LayOutLoginDialog(TF_Login& w);
void LayOutDebugWindow(TF_Debug& w);
void LayOutReviewWindow(TF_Review& w);

}  // namespace ui
