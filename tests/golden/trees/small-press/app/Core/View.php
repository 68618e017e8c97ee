<?php
declare(strict_types=1);
/* Views are rendered by Controller::view(). */
