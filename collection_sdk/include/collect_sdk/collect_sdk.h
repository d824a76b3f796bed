// The collection SDK in one include.
#pragma once

#include "collect_sdk/batch_body.h"
#include "collect_sdk/crash_path.h"
#include "collect_sdk/flush_policy.h"
#include "collect_sdk/http_sender.h"
#include "collect_sdk/record_store.h"
#include "collect_sdk/sdk.h"
#include "collect_sdk/validation.h"
#include "collect_sdk/value_node.h"
