SET NAMES utf8mb4;
\! touch /tmp/x
INSERT INTO `tovary` VALUES (10,'after');
