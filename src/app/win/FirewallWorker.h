#pragma once

// The firewall check of the running executable: its path, the policy object, the profiles and both allow
// rules. Needs COM initialised on the calling thread.
void RunFirewallCheck();

// Start-up: runs the check on a thread of its own ("FirewallCheck") unless a check is still running.
// Never waits for it; the thread is not joined.
void ScheduleFirewallCheck();

// True from scheduling until the worker has finished.
bool FirewallCheckRunning();
