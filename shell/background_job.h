#pragma once
// One kind of work that runs beside the window's thread: a work function
// over numbered items, which JobOwner runs on worker threads, and what the
// window shows of it. A new kind of job (thumbnails, display copies, a
// conversion, publishing) is a new implementation of this interface and
// nothing else: the owner does the threads, the stop, progress, refusing
// library changes meanwhile and the exit.

#include <cstddef>
#include <functional>
#include <stop_token>

#include "core/text.h"
#include "shell/controls.h"

namespace galmora {

// At the window's close: finish every item first, or stop and abandon what
// does not end within a moment.
enum class ExitPolicy { Finish, Abandon };

class BackgroundJob {
  public:
    virtual ~BackgroundJob() = default;

    virtual std::size_t item_count() const = 0;
    // How many worker threads; 0: one a core.
    virtual int threads() const { return 0; }
    // On worker threads, once for each item, several at once. Checks the
    // stop inside the item's work; must not throw.
    virtual void work(std::size_t item, std::stop_token stop) = 0;
    // On the window's thread, once the run has ended: finished(item) tells
    // which items were worked through; stopped, that a stop came first.
    virtual void ended(const std::function<bool(std::size_t item)>& finished, bool stopped) = 0;

    virtual ExitPolicy exit_policy() const { return ExitPolicy::Abandon; }

    // What the window shows meanwhile: the progress line in the panel, the
    // button that stops the job and its caption, and the notice that
    // refuses an operation changing the library.
    virtual Text progress_text(std::size_t finished) const = 0;
    virtual ControlId stop_control() const = 0;
    virtual const Text& stop_caption() const = 0;
    virtual const Text& busy_notice() const = 0;
};

}  // namespace galmora
