#include "story/passages.h"

// Each passage is one line of prose: the console wraps it, so it carries no
// line break of its own.

// The prologue: Mazingroth, Erevon's fall into darkness, the training, Kai.
const char kPrologue[] =
    "For three hundred years the land of Mazingroth lived in peace under Lord Erevon, and "
    "one by one the kingdoms beyond its borders laid down their banners and joined his "
    "realm, for his granaries were full, his roads were safe and his word was kept from "
    "the northern sea to the southern marshes. But peace was never enough for Erevon. In "
    "the vaults beneath his castle he began to bargain with powers older than the hills, "
    "and each year he climbed back up the stairs a little colder and a little less a man. "
    "Then the black riders came. They took the fathers from the fields and the boys from "
    "their mothers' doors, put swords in their hands, and marched them off in an army so "
    "vast that its campfires looked like a second sky, to conquer the world and burn "
    "whatever would not kneel. In a hidden valley beyond the reach of Erevon's spies, the "
    "last free people of Mazingroth have gathered to choose one warrior to ride to his "
    "castle and end his reign. You came to that valley with nothing but your weapon and "
    "your name, and you have entered the training. The camp falls silent as your first "
    "opponent steps into the ring: Kai, the old rebel trainer, who has broken better "
    "fighters than you before breakfast.";

// After the first duel: Kai passes the hero and asks for a rematch.
const char kTrainingPassed[] =
    "Kai lowers his bow and leans on his knees, breathing like a smith's bellows, and when "
    "at last he straightens up there is a grin hiding in his grey beard. 'Enough, enough,' "
    "he wheezes. 'You pass. I have trained two hundred would-be heroes in this valley and "
    "not one of them made me sweat like that.' Then the two of you walk down the path "
    "toward the camp, where the smoke of the cookfires drifts between the pines. On the "
    "way he talks more than he has in all your weeks of training. He tells you of his "
    "wife, Mira, who mends the camp's nets and scolds him when he comes home bruised, and "
    "of his two daughters, taken to dig in Erevon's mines four winters ago. 'I used to "
    "think I would ride to that castle myself,' he says, rubbing the knee that cracks when "
    "it rains. 'But my arms are slow now, and my eyes are slower. This war belongs to the "
    "young. The least an old man can do is make sure the young are ready.' At the edge of "
    "the clearing he stops, tosses his bow onto the grass and rolls up his sleeves. 'One "
    "more round before supper. No weapons, no magic, just wrestling. Best of three, and "
    "the loser carries the water.' You laugh, drop your gear beside his bow, and the two "
    "of you circle each other in the last gold light of the evening.";

// The ambush: Kai's death, Erevon's riders, Kai's bow.
const char kAmbush[] =
    "Kai has you by the collar and you have him by the belt when the war cries roll down "
    "from the ridge, high and wild, and the birds burst out of the pines all at once. He "
    "lets go of you and turns toward the sound. 'Riders,' he says, very quietly, 'on the "
    "north path.' Those are his last words. An arrow hisses out of the trees and takes him "
    "under the arm, and he falls to his knees, then onto his side in the trampled grass, "
    "his eyes still open and fixed on the camp where Mira is mending her nets. Then the "
    "clearing fills with horses. They come out of the forest at a gallop, black horses "
    "under black riders with helms shaped like the skulls of crows, a score of them and "
    "more, and at their head rides a tall figure in a cloak the colour of old blood. You "
    "have never seen his face, but you know it from every coin and every banner of your "
    "childhood: Lord Erevon himself has come for the rebels of Mazingroth. You snatch up "
    "your weapon and run at him, shouting, faster than you have ever run. It does not "
    "matter. He lifts one gloved hand, speaks a single word, and your blow stops in the "
    "air a hand's breadth from his chest as if it had struck a wall of ice. The cold of it "
    "runs up your arms and into your teeth. Erevon looks down at you with mild interest, "
    "the way a man looks at a beetle on his sleeve. 'Take that one,' he says, and a rider "
    "spurs his horse at you with a raised axe. You throw yourself aside, the hooves miss "
    "your head by a finger, and as the rider wheels around you come up under his guard and "
    "strike once, hard. He slides from the saddle and does not move again. For a moment "
    "the whole clearing is still. Then Erevon laughs, a dry small sound like leaves in a "
    "gutter. 'The rebels have found themselves a sting,' he says. 'You two, bring it down. "
    "The rest of you, to the camp. Burn the tents, and leave nobody to tell the tale.' Two "
    "riders peel away toward you, and the rest thunder past down the path toward the "
    "cookfires, toward the nets and the children and everything Kai spent his last years "
    "protecting. You will never catch them on foot. But Kai's great bow lies in the grass "
    "where he tossed it, and his quiver lies beside it, full. You pick up the bow. It is "
    "heavier than you expected and still warm from his hands. You set an arrow to the "
    "string, draw until the feathers brush your cheek, and take aim at the first black "
    "rider on the road below, whispering a promise to an old man who can no longer hear it.";

// After the archery scene, following the number of men killed: Erevon leaves
// the hero wounded, facing Arthon.
const char kErevonsTaunt[] =
    " of my men. Are you proud of yourself?' The smoke of the burning camp drifts between "
    "you. 'No matter. I have ten thousand more.' He raises his voice without looking away "
    "from you. 'Arthon. Kill this one and bring the body to my castle. I want it on the "
    "gate by the new moon.' You loose your last arrow at his heart. It stops a foot from "
    "his breastplate, shatters against a shield that is not there and falls into the mud; "
    "he does not even blink. He spurs past you, and as he goes his blade flicks out, quick "
    "as a snake's tongue, and opens your arm from elbow to wrist. Then he is gone up the "
    "north path, laughing. Out of the smoke walks a giant in black plate, a sword of "
    "living flame in one hand and a long overseer's whip in the other, and he stops ten "
    "paces from you and smiles.";
