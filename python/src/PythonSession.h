#pragma once

/// Makes sure the process can draw: a headless session and an application of its own when the host made
/// none (a plain interpreter), kept until the process ends. Call with the GIL held.
void EnsureApplication();
